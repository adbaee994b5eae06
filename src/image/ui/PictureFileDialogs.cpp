#include "image/ui/PictureFileDialogs.h"

#include <QFileDialog>

namespace zuk {
namespace {

QString pictureFilter() {
    return QStringLiteral("Рисунки BMP (*.bmp);;Все файлы (*)");
}

} // namespace

QString choosePictureToOpen(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть"), QString(),
                                        pictureFilter());
}

QString choosePictureSaveName(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить"), QString(),
                                        pictureFilter());
}

} // namespace zuk
