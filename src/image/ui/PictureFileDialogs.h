#pragma once

#include <QString>

class QWidget;

namespace zuk {

// The picture open dialog: BMP pictures first, any file on request. Empty when cancelled.
QString choosePictureToOpen(QWidget* parent);
// The picture save dialog; the name is returned exactly as entered (no extension is added).
// Empty when cancelled.
QString choosePictureSaveName(QWidget* parent);

} // namespace zuk
