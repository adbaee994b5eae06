#pragma once

#include <QPoint>

namespace zuk {

class CommandSet;
class ImagePreparation;
struct Settings;
class Screen;

// What the needle does during a manual move.
enum class NeedleChoice {
    Raised, // "Поднята", "Игла всегда поднята.": "Up" before the move
    RaisedWhileMoving, // "Поднята приl", "Игла поднята при перемещении.": "Up" before, "Put" 0
                       // after
    Lowered, // "Опущена", "Игла скользит по плоскости.": "Put" 0 before
};

// The operator's choices for the manual moves; they keep their state for the program's
// lifetime. The panels show and change them.
struct MoveChoices {
    // "Перемещение иглы": a left press on the field sends the head there.
    bool headMove = false;
    // `Marker` ("маркера"): dragging a handle moves the picture; else `Igla` ("иглы"): a
    // double click on a handle sends the head there.
    bool dragMarker = false;
    // The needle during moves from the field (`ChangeBox`).
    NeedleChoice needle = NeedleChoice::RaisedWhileMoving;
    // The needle during moves from the geometry panel (`GroupBox1`).
    NeedleChoice geometryNeedle = NeedleChoice::Raised;
};

enum class MouseButton { Left, Right, Other };

// Manual movement of the head before a job: moves to a point of the working field with the
// chosen needle, the nine geometry buttons, and the mouse on the field view that sends the
// head, grabs a handle of the placement frame and drags the frame to a new placement.
//
// All points are working-field coordinates: column and row of the plan position, the pixel
// coordinates of the view, on which the picture is drawn at its placement offsets.
class ManualMovement {
public:
    static constexpr int kHandles = 9;

    ManualMovement(CommandSet& commands, ImagePreparation& image, Screen& screen,
                   const Settings& settings);

    // Needle before, columns, then rows (reached from either side, no overshoot), needle
    // after. The plan position follows also while the link is down, when nothing is sent. A
    // point off the field is refused with a notice and nothing is sent: false.
    bool moveTo(QPoint target, NeedleChoice needle);
    // The motor timing setting (resolution index + 16) to both motor drivers.
    void sendMotorTiming();

    // `Button7` .. `Button15`: the head to handle 1 .. 9 of the placed picture with the
    // geometry panel's needle choice, after the motor timing setting (`Button7` sends its
    // needle command before the setting).
    void geometryButtonClick(int handle);

    // --- The mouse on the field view ---
    void image1MouseDown(MouseButton button, QPoint point);
    // Drags the placement frame while the left button is down on a handle and `Marker` is
    // chosen; the whole frame moves, none of its handles resizes it.
    void image1MouseMove(QPoint point);
    // Ends a drag: the frame's origin becomes the placement and the field is redrawn.
    void image1MouseUp();
    // With `Igla` chosen and `HeadMove` off, the head to the handle grabbed by the press.
    void image1DblClick();

    MoveChoices choices;

    int grabbedHandle() const { return grabbed_; }
    QPoint grabOffset() const { return grabOffset_; }
    bool mouseIsDown() const { return mouseDown_; }

private:
    bool pictureHeld() const;
    int handleAt(QPoint point) const;
    bool targetOnField(QPoint target);
    void needleBefore(NeedleChoice needle);
    void travelTo(QPoint target);
    void needleAfter(NeedleChoice needle);
    void dragFrameTo(QPoint point);
    void notice(const QString& text);

    CommandSet& commands_;
    ImagePreparation& image_;
    Screen& screen_;
    const Settings& settings_;
    int grabbed_ = 0; // 0 or the handle 1..9 under the last left press
    QPoint grabOffset_;
    bool mouseDown_ = false;
};

} // namespace zuk
