#pragma once

#include "app/ProgramFixture.h"
#include "service/ManualMovement.h"

#include <QImage>

namespace zuk::test {

// The program on a scripted line with its port open and the link up, and a helper that
// places a grey picture on the default field (1930 × 2330, the view 1940 × 2340) at the
// centre.
class MovementFixture : public ProgramFixture {
protected:
    MovementFixture() { program.port.openPort(); }

    void placePicture(QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(kGrey);
        program.image.dotImage().bitmap = picture;
        program.image.redrawView();
    }
    Placement& placement() { return program.image.placement(); }
    QPoint handle(int k) { return placement().handles[k - 1]; }
    // The command bytes of the frames written since the last call, as hex.
    QStringList sent() {
        const QByteArray bytes = line.takeWritten();
        QStringList frames;
        for (qsizetype i = 0; i + 5 <= bytes.size(); i += 6)
            frames << QString::fromLatin1(bytes.mid(i, 4).toHex());
        return frames;
    }
    QRgb viewPixel(QPoint p) const { return screen.fieldView.pixel(p) & 0xffffff; }

    static constexpr QRgb kGrey = 0x808080;
    ManualMovement& movement = program.movement;
};

} // namespace zuk::test
