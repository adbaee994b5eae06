#pragma once

#include <QDialog>
#include <QStringList>

namespace zuk {

class Texts;

// "О...": the title, the distributor line, the version line and the contact lines.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // dopLines: the lines of DopFile.txt (version line first, then the contact lines).
    TAboutBox(const Texts& texts, const QStringList& dopLines, QWidget* parent = nullptr);
};

} // namespace zuk
