#include "image/ui/PictureFileDialogs.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace zuk {
namespace {

// "Открыть" reads every format the program takes; "Сохранить" writes BMP.
QString openFilter() {
    return QStringLiteral("Рисунки (*.bmp *.png *.jpg *.jpeg *.tif *.tiff *.gif *.webp);;"
                          "Рисунки BMP (*.bmp);;Все файлы (*)");
}
QString saveFilter() {
    return QStringLiteral("Рисунки BMP (*.bmp);;Все файлы (*)");
}

// Qt's own dialog on every desktop: it speaks Russian with the program (a desktop's native
// dialog would speak the desktop's language) and looks the same everywhere.
constexpr QFileDialog::Options kDialogOptions = QFileDialog::DontUseNativeDialog;
constexpr QSize kDialogSize(820, 480);

// The file list's size, type and date columns as wide as their values (Qt's own widths elide
// them: "351...KiB").
void fitDetailColumns(QFileDialog& dialog) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list)
        return;
    QHeaderView* header = list->header();
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

// The chosen file, or empty when the dialog is cancelled.
QString chooseFile(QWidget* parent, const QString& caption, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, caption, QString(),
                       mode == QFileDialog::AcceptOpen ? openFilter() : saveFilter());
    dialog.setOptions(kDialogOptions);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.resize(kDialogSize);
    fitDetailColumns(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString choosePictureToOpen(QWidget* parent) {
    return chooseFile(parent, QStringLiteral("Открыть"), QFileDialog::AcceptOpen);
}

QString choosePictureSaveName(QWidget* parent) {
    return chooseFile(parent, QStringLiteral("Сохранить"), QFileDialog::AcceptSave);
}

} // namespace zuk
