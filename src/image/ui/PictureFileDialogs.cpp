#include "image/ui/PictureFileDialogs.h"

#include <QFileDialog>

namespace zuk {
namespace {

QString pictureFilter() {
    return QStringLiteral("Рисунки BMP (*.bmp);;Все файлы (*)");
}

// Qt's own dialog on every desktop: it speaks Russian with the program (a desktop's native
// dialog would speak the desktop's language) and looks the same everywhere.
constexpr QFileDialog::Options kDialogOptions = QFileDialog::DontUseNativeDialog;

} // namespace

QString choosePictureToOpen(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть"), QString(),
                                        pictureFilter(), nullptr, kDialogOptions);
}

QString choosePictureSaveName(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить"), QString(),
                                        pictureFilter(), nullptr, kDialogOptions);
}

} // namespace zuk
