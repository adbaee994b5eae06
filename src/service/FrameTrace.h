#pragma once

#include <QPoint>
#include <QSize>

#include <array>

namespace zuk {

class Clock;
class CommandSet;
class ImagePreparation;
class ManualMovement;
class Screen;

// "Обвести рамку": the head shows the operator where the placed picture will be engraved,
// before anything is struck. With the needle raised ("Up" before anything else) it goes to the
// picture's corner dots, top-left, top-right, bottom-right, bottom-left and back to top-left,
// stopping a moment at each, by the manual movement's moves and within its bounds, and then
// home (column 0, row 0). Nothing is struck and the strike profile is not touched.
class FrameTrace {
public:
    // How long the head stands at each corner.
    static constexpr int kPauseMs = 500;

    FrameTrace(ManualMovement& movement, CommandSet& commands, const ImagePreparation& image,
               Screen& screen, Clock& clock);

    // Refused with a message, sending nothing, without a picture, with one that does not lie
    // wholly on the field (as the job start refuses it) and without a link to the device;
    // false then, and when a move was refused.
    bool trace();

    // The corner dots of the placed picture in the order the head visits them.
    static std::array<QPoint, 5> cornersOf(QPoint offset, QSize size);

private:
    bool refused();

    ManualMovement& movement_;
    CommandSet& commands_;
    const ImagePreparation& image_;
    Screen& screen_;
    Clock& clock_;
};

} // namespace zuk
