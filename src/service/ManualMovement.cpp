#include "service/ManualMovement.h"

#include "app/Screen.h"
#include "app/Settings.h"
#include "device/CommandSet.h"
#include "image/ImagePreparation.h"
#include "service/FieldBounds.h"

namespace zuk {

namespace {
constexpr quint8 kNeedleDownMode = 0; // "Put" 0: the manual moves' needle down
} // namespace

ManualMovement::ManualMovement(CommandSet& commands, ImagePreparation& image, Screen& screen,
                               const Settings& settings)
    : commands_(commands), image_(image), screen_(screen), settings_(settings) {}

void ManualMovement::sendMotorTiming() {
    commands_.setResolutionSteps(image_.resolution());
}

bool ManualMovement::moveTo(QPoint target, NeedleChoice needle) {
    if (!targetOnField(target))
        return false;
    needleBefore(needle);
    travelTo(target);
    needleAfter(needle);
    return true;
}

void ManualMovement::geometryButtonClick(int handle) {
    if (handle < 1 || handle > kHandles)
        return;
    if (!pictureHeld()) {
        notice(QStringLiteral("Рисунок не открыт: головка не перемещена."));
        return;
    }
    const QPoint target = image_.placement().handles[handle - 1];
    if (!targetOnField(target))
        return;
    const NeedleChoice needle = choices.geometryNeedle;
    if (handle == 1) {
        needleBefore(needle);
        sendMotorTiming();
    } else {
        sendMotorTiming();
        needleBefore(needle);
    }
    travelTo(target);
    needleAfter(needle);
}

// A point off the field is refused, so the head is never driven past its travel. While the
// link is down the move goes on as bookkeeping only; the operator is told that the head
// stays where it is.
bool ManualMovement::targetOnField(QPoint target) {
    const QSize field = workingFieldInDots(image_);
    if (!pointInField(target, field)) {
        notice(QStringLiteral("Точка (%1, %2) вне рабочего поля %3 × %4 точек: головка не "
                              "перемещена.")
                   .arg(target.x())
                   .arg(target.y())
                   .arg(field.width())
                   .arg(field.height()));
        return false;
    }
    if (!commands_.exchange().linkActive())
        notice(QStringLiteral("Нет связи с устройством: головка не перемещена."));
    return true;
}

void ManualMovement::needleBefore(NeedleChoice needle) {
    if (needle == NeedleChoice::Lowered)
        commands_.needleDown(kNeedleDownMode);
    else
        commands_.needleUp();
}

void ManualMovement::needleAfter(NeedleChoice needle) {
    if (needle == NeedleChoice::RaisedWhileMoving)
        commands_.needleDown(kNeedleDownMode);
}

// Columns first, then rows; a row is two motor steps. The commands split counts that one
// command cannot carry.
void ManualMovement::travelTo(QPoint target) {
    // A head whose place is not known is sent home first, so that the move starts from the
    // origin the plan position counts from.
    if (commands_.headPositionUnknown)
        commands_.resetError(settings_.fieldWidth, settings_.fieldHeight);
    PlanPosition& position = commands_.position;
    const qint64 columns = qint64{target.x()} - position.column;
    if (columns > 0)
        commands_.left(columns);
    else if (columns < 0)
        commands_.right(-columns);
    position.column = target.x();

    const qint64 rows = qint64{target.y()} - position.row;
    if (rows > 0)
        commands_.stepUp(2 * rows);
    else if (rows < 0)
        commands_.stepDown(-2 * rows);
    position.row = target.y();
}

void ManualMovement::image1MouseDown(MouseButton button, QPoint point) {
    sendMotorTiming();
    const Placement& placement = image_.placement();
    if (button == MouseButton::Left) {
        mouseDown_ = true;
        if (choices.headMove)
            moveTo(point, choices.needle);
        grabbed_ = handleAt(point);
        if (grabbed_ != 0)
            grabOffset_ = point - placement.handles[grabbed_ - 1];
    } else if (button == MouseButton::Right) {
        if (handleAt(point) != 0)
            screen_.showChangeBox(point);
    }
}

bool ManualMovement::pictureHeld() const {
    return image_.holdsPicture();
}

// The frame has handles only while a picture is held and placed.
int ManualMovement::handleAt(QPoint point) const {
    return pictureHeld() ? hitHandle(image_.placement().handles, point) : 0;
}

void ManualMovement::image1MouseMove(QPoint point) {
    if (!mouseDown_ || !choices.dragMarker || grabbed_ == 0)
        return;
    dragFrameTo(point);
}

// The frame's markers are inverted off, the frame moves so that the grabbed handle keeps its
// offset from the mouse, and the markers are inverted on at the new place. The picture
// itself stays where it is until the button is released.
void ManualMovement::dragFrameTo(QPoint point) {
    Placement& placement = image_.placement();
    FieldView& view = image_.view();
    view.toggleHandleMarkers(placement.handles);
    const QPoint handleFromOrigin = placement.handles[grabbed_ - 1] - placement.frameOrigin;
    placement.frameOrigin = point - grabOffset_ - handleFromOrigin;
    placement.placementChanged = true;
    placement.updateHandles();
    view.toggleHandleMarkers(placement.handles);
    screen_.showFieldView(view.image());
}

void ManualMovement::image1MouseUp() {
    mouseDown_ = false;
    Placement& placement = image_.placement();
    if (!placement.placementChanged)
        return;
    placement.offset = placement.frameOrigin;
    placement.frameSize = image_.dotImage().size();
    image_.redrawView(); // keeps the new offsets: the placement-changed flag is still set
    placement.placementChanged = false;
    if (const std::optional<QString> outside = placementFitsField(image_))
        notice(*outside);
}

void ManualMovement::image1DblClick() {
    sendMotorTiming();
    if (choices.headMove || choices.dragMarker || grabbed_ == 0)
        return;
    moveTo(image_.placement().handles[grabbed_ - 1], choices.needle);
}

void ManualMovement::notice(const QString& text) {
    screen_.setStatusLine(text);
    screen_.beep();
}

} // namespace zuk
