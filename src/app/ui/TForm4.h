#pragma once

#include <QDialog>

namespace zuk {

class Texts;

// "Eror message.": the advice shown when the engraving run stopped on a link failure.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(const Texts& texts, QWidget* parent = nullptr);
};

} // namespace zuk
