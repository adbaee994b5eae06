// A picture file of any bytes: the reader refuses it with one message naming the file, or
// gives a picture within the size limits; a BMP exactly as its headers describe it, pixel for
// pixel what Qt's own decoder gives where the program decodes the rows itself. A refused open keeps
// the picture held before, its name, its grids and the caption.
#include "fuzz/support/FuzzSupport.h"

#include "image/BmpFile.h"
#include "image/ImagePreparation.h"
#include "support/RecordingScreen.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace zuk::fuzz {
namespace {

const QString kFileName = QStringLiteral("picture.bmp");
// Qt's decoder is asked for a second opinion only on pictures this small, to keep the pace.
constexpr qint64 kComparedDots = 1 << 20;

QString describe(const QImage& image) {
    return QStringLiteral("%1 x %2, format %3")
        .arg(image.width())
        .arg(image.height())
        .arg(int(image.format()));
}

void checkAgainstQt(const QByteArray& bytes, const QImage& picture) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    QImage theirs;
    if (!reader.read(&theirs))
        return; // Qt refuses what the program reads itself: nothing to compare
    theirs = theirs.convertToFormat(QImage::Format_RGB32);
    require(theirs.size() == picture.size(), "the picture has the size Qt's decoder gives",
            describe(picture) + QStringLiteral(" against ") + describe(theirs));
    for (int y = 0; y < picture.height(); ++y) {
        const auto* mine = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* qt = reinterpret_cast<const QRgb*>(theirs.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            require((mine[x] | 0xff000000u) == (qt[x] | 0xff000000u),
                    "every pixel is the one Qt's decoder gives",
                    QStringLiteral("pixel %1, %2: %3 against %4")
                        .arg(x)
                        .arg(y)
                        .arg(mine[x], 8, 16)
                        .arg(qt[x], 8, 16));
    }
}

void checkAccepted(const QByteArray& bytes, const PictureFile& file) {
    const QImage& picture = file.image;
    require(!picture.isNull() && picture.format() == QImage::Format_RGB32,
            "an accepted picture is 32-bit RGB", describe(picture));
    require(picture.width() <= kMaxPictureSide && picture.height() <= kMaxPictureSide &&
                qint64(picture.width()) * picture.height() <= kMaxPictureDots,
            "an accepted picture is within the size limits", describe(picture));
    if (!bytes.startsWith("BM"))
        return; // a format read by Qt's readers: the checks above are all the program promises
    bmp::Layout layout;
    require(bmp::readLayout(bytes.left(bmp::kFileHeaderBytes + bmp::kLargestInfoHeader),
                            bytes.size(), layout) == bmp::HeaderProblem::None,
            "an accepted picture has sound headers");
    require(layout.width == picture.width() && layout.height == picture.height(),
            "an accepted picture has the size its header gives", describe(picture));
    if (bmp::readsDirectly(layout) && layout.width * layout.height <= kComparedDots)
        checkAgainstQt(bytes, picture);
}

// The program holds a small picture; opening the refused file must change none of it.
void checkRefusedOpenKeepsThePicture(const QString& path, const QString& error) {
    static test::RecordingScreen screen;
    static Texts texts;
    static ImagePreparation image(screen, texts);
    if (!image.holdsPicture()) {
        image.buildToneTables();
        image.buildPatternTable();
        image.setFieldSize(QSize(40, 30));
        QImage held(7, 5, QImage::Format_RGB32);
        held.fill(qRgb(90, 90, 90));
        image.picture().source = held;
        image.picture().fileName = QStringLiteral("held.bmp");
        SilentProgress progress;
        image.tables().positions =
            convertPicture(held, image.tables(), image.variant(), image.dotImage(), progress);
    }
    const QImage source = image.picture().source;
    const QImage bitmap = image.dotImage().bitmap;
    const QString caption = screen.caption;
    const qint32 gray = image.dotImage().gray.at(3, 3);
    screen.clear();
    screen.openAnswer = path;
    image.openClick();
    require(screen.messages == QStringList{error}, "a refused open shows its one message",
            screen.messages.join(QLatin1Char('|')));
    require(image.picture().source == source && image.dotImage().bitmap == bitmap &&
                image.picture().fileName == "held.bmp" && image.dotImage().gray.at(3, 3) == gray &&
                screen.caption == caption,
            "a refused open keeps the picture, its name, its grids and the caption");
}

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const QByteArray bytes = input.rest();
    const ProgramDir& dir = ScratchDir::holding(kFileName, bytes);
    const QString path = dir.path(kFileName);
    const PictureFile file = readPictureFile(path);
    if (file.ok()) {
        checkAccepted(bytes, file);
        return;
    }
    require(file.image.isNull(), "a refused picture gives no pixels");
    require(file.error.startsWith(QStringLiteral("Не удалось открыть рисунок \"")) &&
                file.error.contains(kFileName),
            "a refusal names the file", file.error);
    checkRefusedOpenKeepsThePicture(path, file.error);
    return;
}
