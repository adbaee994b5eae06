// "Обвести рамку" on the simulated engraver: the needle up first, the head to the picture's
// four corners and home by the manual movement's moves, nothing struck; a picture off the
// field or no picture at all refused with nothing sent.
#include "service/EngraverFixture.h"

namespace zuk::test {
namespace {

using FrameTraceOnEngraver = EngraverFixture;

TEST_F(FrameTraceOnEngraver, TheHeadGoesRoundTheCornersWithTheNeedleUpAndStrikesNothing) {
    startUp();
    placePicture({300, 200});
    const QPoint topLeft = program.image.placement().offset;
    const QPoint bottomRight = topLeft + QPoint(299, 199);
    const qint64 started = clock.monotonicMs();
    ASSERT_TRUE(program.frame.trace());

    QStringList expected{"Up", "ProgX_Motor 60 18", "ProgY_Motor 60 18"};
    QPoint from(0, 0);
    for (const QPoint to : {topLeft, QPoint(bottomRight.x(), topLeft.y()), bottomRight,
                            QPoint(topLeft.x(), bottomRight.y()), topLeft, QPoint(0, 0)}) {
        expected << "Up" << moveTraffic(from, to);
        from = to;
    }
    EXPECT_EQ(traffic, expected);
    EXPECT_EQ(deviceHead(), QPoint(0, 0));
    EXPECT_FALSE(engraver->machine().needleDown);
    EXPECT_TRUE(engraver->plate().strikes().empty());
    EXPECT_EQ(engraver->counters().profileFrames, 0);
    EXPECT_GE(clock.monotonicMs() - started, 5 * FrameTrace::kPauseMs);
    EXPECT_EQ(violations(), 0);
    EXPECT_TRUE(screen.messages.isEmpty());
}

TEST_F(FrameTraceOnEngraver, WhatTheJobStartRefusesIsRefusedWithNothingSent) {
    startUp();
    EXPECT_FALSE(program.frame.trace()); // no picture
    placePicture({300, 200});
    program.image.placement().offset = {-20, 10};
    EXPECT_FALSE(program.frame.trace());
    EXPECT_TRUE(traffic.isEmpty()) << traffic.join('|').toStdString();
    ASSERT_EQ(screen.messages.size(), 2);
    EXPECT_TRUE(screen.messages[1].contains("Рисунок выходит за рабочее поле"))
        << screen.messages[1].toStdString();
}

} // namespace
} // namespace zuk::test
