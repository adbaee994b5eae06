#include "image/ImagePreparation.h"

#include "image/PicturePreparation.h"
#include "image/PreparationPreview.h"

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
    std::optional<QImage> preparedPicture;
    if (fileChosen) {
        preparedPicture = takePictureFile(path);
        if (!preparedPicture)
            return;
    }
    // With no picture held there is nothing to convert again: a cancelled open changes
    // nothing (no status line, no redraw, no motor setting).
    if (!fileChosen && !holdsPicture())
        return;

    // A cancelled open converts the dots shown, as they are, once more; the picture as read
    // stays as it is.
    convertAndShow(fileChosen ? *preparedPicture : QImage(dots_.bitmap));
    if (holdsPicture() && links_.linkActive && links_.linkActive() && links_.setStepTime)
        links_.setStepTime();
}

void ImagePreparation::prepareClick() {
    if (!holdsPicture()) {
        screen_.showMessage(MessageKind::Warning,
                            QStringLiteral("Нет рисунка для подготовки. Откройте рисунок: "
                                           "\"Файл\" → \"Открыть\"."));
        return;
    }
    std::optional<PreparationChoices> chosen;
    {
        PreparationPreview preview(picture_.source, variant(), tables_);
        chosen = screen_.askPreparation(preview, preparation_);
    } // the preview's dots go before the picture is prepared again
    if (chosen)
        prepareAnew(*chosen);
}

bool ImagePreparation::prepareAnew(const PreparationChoices& chosen) {
    const std::optional<QImage> picture = prepared(picture_.source, chosen, picture_.fileName);
    if (!picture)
        return false;
    preparation_ = chosen;
    if (links_.preparationChosen)
        links_.preparationChosen(preparation_);
    convertAndShow(*picture);
    return true;
}

// Converts the picture into the dots held and shows them placed on the field.
void ImagePreparation::convertAndShow(const QImage& picture) {
    if (links_.resetPlanPosition)
        links_.resetPlanPosition();
    try {
        convert(picture);
    } catch (const std::bad_alloc&) {
        dropPictureAfterMemoryFailure();
        return;
    }
    redrawView();
    screen_.scrollFieldViewTo(QRect(placement_.offset, dots_.size()));
}

// Reads the file and, when it is a sound picture that the preparation chosen can prepare,
// makes it the working picture and asks for its density and placement; gives the prepared
// picture. A refused file leaves picture, preparation, dots and caption as they were.
std::optional<QImage> ImagePreparation::takePictureFile(const QString& path) {
    PictureFile file = readPictureFile(path);
    if (!file.ok()) {
        screen_.showMessage(MessageKind::Warning, file.error);
        return std::nullopt;
    }
    std::optional<PreparationChoices> chosen;
    {
        PreparationPreview preview(file.image, variant(), tables_);
        chosen = screen_.askPreparation(preview, preparation_);
    }
    const PreparationChoices choices = chosen.value_or(preparation_);
    std::optional<QImage> picture = prepared(file.image, choices, path);
    if (!picture)
        return std::nullopt;
    screen_.setCaption(openingCaption());
    screen_.setStatusLine(texts_.status(StatusText::LoadingFile));
    picture_.source = std::move(file.image);
    picture_.fileName = path;
    preparation_ = choices;
    if (chosen && links_.preparationChosen)
        links_.preparationChosen(preparation_);

    const ResolutionChoice choice = screen_.askResolutionAndPlacement();
    if (links_.resolutionChosen)
        links_.resolutionChosen(choice.line);
    if (choice.placementButton >= 1 && choice.placementButton <= 9)
        placement_.marks = marksOfButton(choice.placementButton);
    screen_.setCaption(pictureCaption(choice.line, picture_.fileName));

    if (links_.pictureOpened)
        links_.pictureOpened();
    return picture;
}

// The picture prepared with the choices; nothing, after telling the operator why naming the
// file, when the choices cannot prepare it.
std::optional<QImage> ImagePreparation::prepared(const QImage& source,
                                                 const PreparationChoices& choices,
                                                 const QString& path) {
    std::optional<QString> problem;
    try {
        PreparedPicture result = preparePicture(source, choices);
        if (!result.problem)
            return std::move(result.image);
        problem = result.problem;
    } catch (const std::bad_alloc&) {
        problem = QStringLiteral("недостаточно памяти для рисунка");
    }
    screen_.showMessage(MessageKind::Warning, preparationRefusal(path, *problem));
    return std::nullopt;
}

// Makes the dots of the picture; the pattern positions move on past the values taken.
void ImagePreparation::convert(const QImage& picture) {
    ScreenProgress progress(screen_, texts_);
    tables_.positions = convertPicture(picture, tables_, variant(), dots_, progress);
}

// The grids could not be allocated: rather than keep a picture without its grids, the
// program goes back to holding no picture at all.
void ImagePreparation::dropPictureAfterMemoryFailure() {
    const QString name = picture_.fileName;
    picture_ = Picture();
    dots_ = DotImage();
    screen_.showMessage(
        MessageKind::Error,
        QStringLiteral("Недостаточно памяти для преобразования рисунка \"%1\"; рисунок закрыт.")
            .arg(QDir::toNativeSeparators(name)));
    redrawView();
}

void ImagePreparation::save1Click() {
    if (!holdsPicture()) {
        screen_.showMessage(MessageKind::Warning, QStringLiteral("Нет рисунка для сохранения."));
        return;
    }
    const QString name = screen_.askPictureSaveName();
    if (name.isEmpty())
        return;
    const QString error = writePictureFile(dots_.bitmap, name);
    if (!error.isEmpty())
        screen_.showMessage(MessageKind::Error, error);
}

void ImagePreparation::redrawView() {
    view_.draw(dots_.bitmap, placement_, resolution(), savedPlacement());
    screen_.showFieldView(view_.image());
}

void ImagePreparation::showCleanView() {
    view_.paint(dots_.bitmap, placement_);
    screen_.showFieldView(view_.image());
}

std::optional<QPoint> ImagePreparation::savedPlacement() const {
    return links_.savedPlacement ? links_.savedPlacement() : std::nullopt;
}

} // namespace zuk
