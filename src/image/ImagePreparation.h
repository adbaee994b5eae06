#pragma once

#include "app/Screen.h"
#include "app/Texts.h"
#include "image/Conversion.h"
#include "image/FieldView.h"
#include "image/Picture.h"
#include "image/Placement.h"
#include "image/ToneTables.h"

#include <functional>
#include <optional>

namespace zuk {

// What the picture operations need from the rest of the program. Each hook may be left
// empty; it is then skipped (an empty linkActive counts as a link that is not active).
struct ImageLinks {
    // The link-active flag of the command exchange.
    std::function<bool()> linkActive;
    // SetStepTime with the step-time factor kept in Zuk.ini; called at the end of an open
    // while the link is active.
    std::function<void()> setStepTime;
    // The placement saved in the recovery file, while the unfinished-job flag is set.
    std::function<std::optional<QPoint>()> savedPlacement;
    // A picture file was opened successfully (the main window enables "Self Testing").
    std::function<void()> pictureOpened;
    // Puts the engraving plan's current row and column back to 0.
    std::function<void()> resetPlanPosition;
    // The density line in force, kept with the program's engraving choices; 0 without it.
    std::function<int()> resolution;
    // The resolution and placement dialog closed with this line selected (the resolution
    // index kept in Zuk.ini).
    std::function<void(int)> resolutionChosen;
    // The operator chose this preparation in "Подготовка рисунка" and a picture was prepared
    // with it (the program remembers it for its next start).
    std::function<void(const PreparationChoices&)> preparationChosen;
};

// The picture preparation of the main window: the tables, the working picture as read, its
// preparation and the dots made from it, the density and placement, the working-field view,
// and the "Открыть", "Подготовка рисунка" and "Сохранить" menu commands.
class ImagePreparation {
public:
    ImagePreparation(Screen& screen, const Texts& texts, ImageLinks links = {});

    // Start-up: the tone curves and pattern positions, later the pattern table.
    void buildToneTables() { tables_.buildToneTables(); }
    void buildPatternTable() { tables_.buildPatternTable(); }
    // The working-field size from the configuration; repaints the view black.
    void setFieldSize(QSize field) { view_.setFieldSize(field); }

    // "Файл" → "Открыть": the conversion-variant dialog, the open dialog, and for a readable
    // file the preparation dialog (starting from the preparation in force) and the resolution
    // and placement dialog; then the prepared picture is converted into its dots and drawn,
    // and the view scrolls to the placed picture. A file that cannot be read or prepared is
    // refused with a message and changes nothing; so does a cancelled dialog while no picture
    // is held. A cancelled dialog while a picture is held converts the dots shown again.
    void openClick();
    // "Файл" → "Подготовка рисунка": the preparation dialog for the picture held; with "OK"
    // the picture as read is prepared anew, converted and drawn (the density, the placement and
    // the caption stay). Without a picture held it says so.
    void prepareClick();
    // The picture held prepared anew with these choices, converted and drawn as "OK" of
    // "Подготовка рисунка" does; false, told why, when it cannot be.
    bool prepareAnew(const PreparationChoices& chosen);
    // "Файл" → "Сохранить": writes the dots shown as BMP under exactly the name entered.
    void save1Click();
    // Draws the working field with the placed picture and shows it.
    void redrawView();
    // Shows the picture where it is placed now, without the marks an earlier job left on it;
    // the placement is not computed again (the job's plan was built for it).
    void showCleanView();

    // The picture as read and its file's name.
    Picture& picture() { return picture_; }
    const Picture& picture() const { return picture_; }
    // The dots made from the picture: what the view shows, the plan engraves and "Сохранить"
    // writes.
    DotImage& dotImage() { return dots_; }
    const DotImage& dotImage() const { return dots_; }
    // A picture is held (and its dots made).
    bool holdsPicture() const { return !dots_.empty(); }
    // The preparation of the picture held, and of the next picture opened.
    const PreparationChoices& preparation() const { return preparation_; }
    // Sets it without asking (the remembered one at start-up, zuk-batch's options).
    void setPreparation(const PreparationChoices& choices) { preparation_ = choices; }
    PictureTables& tables() { return tables_; }
    Placement& placement() { return placement_; }
    const Placement& placement() const { return placement_; }
    // The density line the picture is placed at (the program keeps it with its choices).
    int resolution() const { return links_.resolution ? links_.resolution() : 0; }
    FieldView& view() { return view_; }
    const FieldView& view() const { return view_; }
    bool combinedVariant() const { return combined_; }
    void setCombinedVariant(bool combined) { combined_ = combined; }
    ConversionVariant variant() const {
        return combined_ ? ConversionVariant::Combined : ConversionVariant::Simple;
    }

private:
    std::optional<QImage> takePictureFile(const QString& path);
    std::optional<QImage> prepared(const QImage& source, const PreparationChoices& choices,
                                   const QString& path);
    void convert(const QImage& picture);
    void convertAndShow(const QImage& picture);
    void dropPictureAfterMemoryFailure();
    std::optional<QPoint> savedPlacement() const;

    Screen& screen_;
    const Texts& texts_;
    ImageLinks links_;
    PictureTables tables_;
    Picture picture_;
    PreparationChoices preparation_;
    DotImage dots_;
    Placement placement_;
    FieldView view_;
    bool combined_ = false;
};

} // namespace zuk
