#include "image/ImagePreparation.h"

#include <QDir>
#include <QFileInfo>
#include <QRect>

#include <new>

namespace zuk {
namespace {

// Forwards the progress of the picture operations to the status line and the gauge, the
// gauge only when its percentage changes, so a tall picture does not flood the window.
class ScreenProgress final : public PictureProgress {
public:
    ScreenProgress(Screen& screen, const Texts& texts) : screen_(screen), texts_(texts) {}

    void showStatus(StatusText text) override { screen_.setStatusLine(texts_.status(text)); }

    void setGauge(int progress, int maximum) override {
        const int percent = maximum > 0 ? int(qint64(progress) * 100 / maximum) : 0;
        if (progress != 0 && progress != maximum && maximum == lastMaximum_ &&
            percent == lastPercent_)
            return;
        lastMaximum_ = maximum;
        lastPercent_ = percent;
        screen_.setGauge(progress, maximum);
    }

private:
    Screen& screen_;
    const Texts& texts_;
    int lastMaximum_ = -1;
    int lastPercent_ = -1;
};

} // namespace

ImagePreparation::ImagePreparation(Screen& screen, const Texts& texts, ImageLinks links)
    : screen_(screen), texts_(texts), links_(std::move(links)) {}

void ImagePreparation::openClick() {
    if (const auto chosen = screen_.askConversionVariant())
        combined_ = *chosen == ConversionVariant::Combined;

    const QString path = screen_.askPictureToOpen();
    const bool fileChosen = !path.isEmpty() && QFileInfo(path).isFile();
    if (fileChosen && !takePictureFile(path))
        return;
    // With no picture held there is nothing to convert again: a cancelled open changes
    // nothing (no status line, no redraw, no motor setting).
    if (!fileChosen && picture_.bitmap.isNull())
        return;

    if (links_.resetPlanPosition)
        links_.resetPlanPosition();
    try {
        convertHeldPicture();
    } catch (const std::bad_alloc&) {
        dropPictureAfterMemoryFailure();
        return;
    }
    redrawView();
    screen_.scrollFieldViewTo(QRect(placement_.offset, picture_.bitmap.size()));
    if (links_.linkActive && links_.linkActive() && links_.setStepTime)
        links_.setStepTime();
}

// Reads the file and, when it is a sound picture, makes it the working picture and asks for
// its density and placement. A refused file leaves picture, grids and caption as they were.
bool ImagePreparation::takePictureFile(const QString& path) {
    PictureFile file = readPictureFile(path);
    if (!file.ok()) {
        screen_.showMessage(MessageKind::Warning, file.error);
        return false;
    }
    screen_.setCaption(openingCaption());
    screen_.setStatusLine(texts_.status(StatusText::LoadingFile));
    picture_.bitmap = std::move(file.image);
    picture_.fileName = path;

    const ResolutionChoice choice = screen_.askResolutionAndPlacement();
    if (links_.resolutionChosen)
        links_.resolutionChosen(choice.line);
    if (choice.placementButton >= 1 && choice.placementButton <= 9)
        placement_.marks = marksOfButton(choice.placementButton);
    screen_.setCaption(pictureCaption(choice.line, picture_.fileName));

    if (links_.pictureOpened)
        links_.pictureOpened();
    return true;
}

void ImagePreparation::convertHeldPicture() {
    ScreenProgress progress(screen_, texts_);
    rebuildAndConvert(picture_, tables_, variant(), progress);
}

// The grids could not be allocated: rather than keep a picture without its grids, the
// program goes back to holding no picture at all.
void ImagePreparation::dropPictureAfterMemoryFailure() {
    const QString name = picture_.fileName;
    picture_ = Picture();
    screen_.showMessage(
        MessageKind::Error,
        QStringLiteral("Недостаточно памяти для преобразования рисунка \"%1\"; рисунок закрыт.")
            .arg(QDir::toNativeSeparators(name)));
    redrawView();
}

void ImagePreparation::save1Click() {
    if (picture_.bitmap.isNull()) {
        screen_.showMessage(MessageKind::Warning, QStringLiteral("Нет рисунка для сохранения."));
        return;
    }
    const QString name = screen_.askPictureSaveName();
    if (name.isEmpty())
        return;
    const QString error = writePictureFile(picture_.bitmap, name);
    if (!error.isEmpty())
        screen_.showMessage(MessageKind::Error, error);
}

void ImagePreparation::redrawView() {
    view_.draw(picture_.bitmap, placement_, resolution(), savedPlacement());
    screen_.showFieldView(view_.image());
}

void ImagePreparation::showCleanView() {
    view_.paint(picture_.bitmap, placement_);
    screen_.showFieldView(view_.image());
}

std::optional<QPoint> ImagePreparation::savedPlacement() const {
    return links_.savedPlacement ? links_.savedPlacement() : std::nullopt;
}

} // namespace zuk
