#include "service/EngraverFixture.h"

namespace zuk::test {
namespace {

const QStringList kTiming{"ProgX_Motor 60 18", "ProgY_Motor 60 18"};

using GeometryOnEngraver = EngraverFixture;

TEST_F(GeometryOnEngraver, TheNineButtonsSendTheHeadToEveryHandleWithTheTrafficInOrder) {
    startUp();
    placePicture({300, 200});
    program.movement.choices.geometryNeedle = NeedleChoice::RaisedWhileMoving;
    for (int k = 1; k <= 9; ++k) {
        const QPoint from = plannedHead();
        traffic.clear();
        program.movement.geometryButtonClick(k);
        // `Button7` raises the needle before the timing setting, the others after it.
        const QStringList before =
            k == 1 ? QStringList{"Up"} + kTiming : kTiming + QStringList{"Up"};
        EXPECT_EQ(traffic, before + moveTraffic(from, handle(k)) + QStringList{"Put 0"}) << k;
        EXPECT_EQ(deviceHead(), handle(k)) << k;
        EXPECT_EQ(plannedHead(), handle(k)) << k;
    }
    EXPECT_EQ(engraver->machine().driverX.timing, 18);
    EXPECT_EQ(engraver->machine().driverY.timing, 18);
    EXPECT_TRUE(engraver->machine().needleDown);
    EXPECT_EQ(violations(), 0);
    EXPECT_TRUE(screen.messages.isEmpty());
}

TEST_F(GeometryOnEngraver, TheNeedleChoicesOfThePanel) {
    startUp();
    placePicture({300, 200});
    program.movement.choices.geometryNeedle = NeedleChoice::Lowered;
    program.movement.geometryButtonClick(1);
    EXPECT_EQ(traffic, QStringList{"Put 0"} + kTiming + moveTraffic({0, 0}, handle(1)));
    EXPECT_TRUE(engraver->machine().needleDown);

    traffic.clear();
    program.movement.choices.geometryNeedle = NeedleChoice::Raised;
    program.movement.geometryButtonClick(9);
    EXPECT_EQ(traffic, kTiming + QStringList{"Up"} + moveTraffic(handle(1), handle(9)));
    EXPECT_FALSE(engraver->machine().needleDown);
    EXPECT_EQ(violations(), 0);
}

// The self-test compares the counted position with the one the device reports; manual moves
// keep the two the same, so a run that follows them starts in step.
TEST_F(GeometryOnEngraver, AfterManualMovesTheCountedPositionIsTheOneTheDeviceReports) {
    startUp();
    placePicture({300, 200});
    program.movement.choices.headMove = true;
    program.movement.image1MouseDown(MouseButton::Left, {640, 480});
    program.movement.image1MouseUp();
    program.movement.geometryButtonClick(8);
    program.commands.monitor(true);
    EXPECT_EQ(screen.fields[Field::RealPosX], QString::number(program.commands.position.column));
    EXPECT_EQ(screen.fields[Field::RealPosY], QString::number(program.commands.position.row));
    EXPECT_EQ(plannedHead(), handle(8));
    EXPECT_EQ(violations(), 0);
}

TEST_F(GeometryOnEngraver, MovesBeyondOneCommandArriveWholeWithoutAWrappedCount) {
    startUp();
    program.image.setFieldSize(QSize(0, 39990)); // a field 10 × 40000 dots at resolution 0
    program.choices.resolutionIndex = 0;
    EXPECT_TRUE(program.movement.moveTo({0, 40000}, NeedleChoice::Raised));
    EXPECT_EQ(traffic, (QStringList{"Up", "StepUp 65535", "StepUp 14465"}));
    EXPECT_EQ(deviceHead(), QPoint(0, 40000));
    EXPECT_TRUE(program.movement.moveTo({0, 1}, NeedleChoice::Raised));
    EXPECT_EQ(deviceHead(), QPoint(0, 1));
    EXPECT_EQ(violations(), 0);
    EXPECT_TRUE(screen.messages.isEmpty());
}

} // namespace
} // namespace zuk::test
