#include "service/FieldBounds.h"
#include "service/MovementFixture.h"

namespace zuk::test {
namespace {

const QString kTiming16X = QStringLiteral("1b406010");
const QString kTiming16Y = QStringLiteral("1b416010");
const QString kUp = QStringLiteral("1bff0101");
const QString kPut0 = QStringLiteral("1bfe0000");

using ManualMovementTest = MovementFixture;

TEST_F(ManualMovementTest, HeadMovePressSendsColumnsThenRowsFramedByTheNeedleChoice) {
    struct Case {
        NeedleChoice needle;
        QStringList before;
        QStringList after;
    };
    const std::vector<Case> cases{
        {NeedleChoice::RaisedWhileMoving, {kUp}, {kPut0}},
        {NeedleChoice::Lowered, {kPut0}, {}},
        {NeedleChoice::Raised, {kUp}, {}},
    };
    movement.choices.headMove = true;
    for (const Case& c : cases) {
        program.commands.position = {50, 100};
        movement.choices.needle = c.needle;
        answerCommands(6);
        movement.image1MouseDown(MouseButton::Left, {120, 40});
        // "Left" 20 and "StepDown" 2 × 10, each sent as count − 1.
        const QStringList expected = QStringList{kTiming16X, kTiming16Y} + c.before +
                                     QStringList{"1b120013", "1b110013"} + c.after;
        EXPECT_EQ(sent(), expected) << int(c.needle);
        EXPECT_EQ(program.commands.position.column, 120);
        EXPECT_EQ(program.commands.position.row, 40);
        line.takeWritten();
    }
    EXPECT_TRUE(screen.messages.isEmpty());
}

TEST_F(ManualMovementTest, MovesReachTheRowFromEitherSideAndSendNothingForNoDistance) {
    answerCommands(7);
    movement.moveTo({30, 7}, NeedleChoice::Raised);
    movement.moveTo({10, 9}, NeedleChoice::Raised);
    movement.moveTo({10, 9}, NeedleChoice::Raised);
    EXPECT_EQ(sent(), (QStringList{kUp, "1b12001d", "1b10000d", kUp, "1b130013", "1b100003", kUp}));
}

TEST_F(ManualMovementTest, LongMovesAreSplitSoThatNoCountWraps) {
    // A field narrow in one direction and long in the other keeps the view small.
    program.image.setFieldSize(QSize(69990, 0));
    answerCommands(6);
    movement.moveTo({66000, 0}, NeedleChoice::Raised);
    movement.moveTo({0, 0}, NeedleChoice::Raised);
    EXPECT_EQ(sent(), (QStringList{kUp, "1b12fffe", "1b1201d0", kUp, "1b13fffe", "1b1301d0"}));

    program.image.setFieldSize(QSize(0, 39990));
    answerCommands(6);
    movement.moveTo({0, 40000}, NeedleChoice::Raised); // 80000 steps up
    movement.moveTo({0, 0}, NeedleChoice::Raised);
    EXPECT_EQ(sent(), (QStringList{kUp, "1b10fffe", "1b103880", kUp, "1b11fffe", "1b113880"}));
    EXPECT_EQ(program.commands.position.row, 0);
}

TEST_F(ManualMovementTest, PointsOffTheFieldAreRefusedWithANotice) {
    // The view is 1940 × 2340: at resolution 0 that is the travel in dots, edges included.
    program.exchange.setLinkActive(false);
    EXPECT_TRUE(movement.moveTo({1940, 2340}, NeedleChoice::Lowered));
    EXPECT_TRUE(movement.moveTo({0, 0}, NeedleChoice::Lowered));
    for (const QPoint p : {QPoint(1941, 0), QPoint(0, 2341), QPoint(-1, 5), QPoint(5, -1)}) {
        screen.clear();
        EXPECT_FALSE(movement.moveTo(p, NeedleChoice::Lowered));
        EXPECT_EQ(screen.beeps, 1);
        EXPECT_TRUE(screen.statusLine.contains("вне рабочего поля 1940 × 2340 точек"))
            << screen.statusLine.toStdString();
    }
    EXPECT_TRUE(line.writtenBytes().isEmpty());
    EXPECT_EQ(program.commands.position.column, 0);
    EXPECT_EQ(program.commands.position.row, 0);

    // At resolution 8 the same view holds 1940 × 16 div 24 = 1293 columns.
    program.choices.resolutionIndex = 8;
    EXPECT_FALSE(movement.moveTo({1294, 0}, NeedleChoice::Raised));
    EXPECT_TRUE(screen.statusLine.contains("1293 × 1560"));

    // A click off the field still sends the motor timing, but never a move.
    program.exchange.setLinkActive(true);
    program.choices.resolutionIndex = 0;
    movement.choices.headMove = true;
    answerCommands(2);
    movement.image1MouseDown(MouseButton::Left, {1945, 100});
    EXPECT_EQ(sent(), (QStringList{kTiming16X, kTiming16Y}));
}

TEST_F(ManualMovementTest, WhileTheLinkIsDownMovesAreBookkeptAndTheOperatorIsTold) {
    program.exchange.setLinkActive(false);
    EXPECT_TRUE(movement.moveTo({30, 20}, NeedleChoice::RaisedWhileMoving));
    EXPECT_TRUE(line.writtenBytes().isEmpty());
    EXPECT_EQ(screen.statusLine, "Нет связи с устройством: головка не перемещена.");
    EXPECT_EQ(program.commands.position.column, 30);
    EXPECT_EQ(program.commands.position.row, 20);

    // The next move counts from where the head would have been.
    program.exchange.setLinkActive(true);
    answerCommands(3);
    movement.moveTo({0, 0}, NeedleChoice::Raised);
    EXPECT_EQ(sent(), (QStringList{kUp, "1b13001d", "1b110027"}));
}

TEST_F(ManualMovementTest, LeftPressGrabsAHandleStrictlyWithinTenPixels) {
    program.exchange.setLinkActive(false);
    placePicture({300, 200});
    const QPoint h5 = handle(5);
    movement.image1MouseDown(MouseButton::Left, h5 + QPoint(9, 9));
    EXPECT_EQ(movement.grabbedHandle(), 5);
    EXPECT_EQ(movement.grabOffset(), QPoint(9, 9));
    EXPECT_TRUE(movement.mouseIsDown());
    movement.image1MouseUp();
    EXPECT_FALSE(movement.mouseIsDown());

    for (const QPoint miss : {QPoint(10, 10), QPoint(10, 0), QPoint(0, -10)}) {
        movement.image1MouseDown(MouseButton::Left, h5 + miss);
        EXPECT_EQ(movement.grabbedHandle(), 0) << miss.x() << "," << miss.y();
        movement.image1MouseUp();
    }

    // On a picture smaller than the markers the handles overlap: the first in order wins.
    placePicture({10, 10});
    movement.image1MouseDown(MouseButton::Left, handle(5));
    EXPECT_EQ(movement.grabbedHandle(), 1);
}

TEST_F(ManualMovementTest, RightPressShowsTheChangeBoxOnlyOnAHandle) {
    placePicture({300, 200});
    answerCommands(4);
    movement.image1MouseDown(MouseButton::Right, handle(3) + QPoint(1, 0));
    EXPECT_EQ(screen.changeBoxAt, handle(3) + QPoint(1, 0));
    screen.changeBoxAt.reset();
    movement.image1MouseDown(MouseButton::Right, handle(5) + QPoint(40, 0));
    EXPECT_FALSE(screen.changeBoxAt.has_value());
    // Every press sends the motor timing; a right press grabs nothing.
    EXPECT_EQ(sent(), (QStringList{kTiming16X, kTiming16Y, kTiming16X, kTiming16Y}));
    EXPECT_EQ(movement.grabbedHandle(), 0);
    EXPECT_FALSE(movement.mouseIsDown());
}

TEST_F(ManualMovementTest, DraggingHandleNineMovesTheWholePictureAndReleasePlacesIt) {
    program.exchange.setLinkActive(false);
    placePicture({300, 200});
    const QPoint origin = placement().offset;
    movement.choices.dragMarker = true;

    const QPoint grab = handle(9) + QPoint(2, 3);
    movement.image1MouseDown(MouseButton::Left, grab);
    ASSERT_EQ(movement.grabbedHandle(), 9);
    movement.image1MouseMove(grab + QPoint(7, -2));
    movement.image1MouseMove(grab + QPoint(15, -5));
    const QPoint moved = origin + QPoint(15, -5);
    EXPECT_EQ(placement().frameOrigin, moved);
    EXPECT_EQ(handle(9), moved + QPoint(300, 200));
    EXPECT_EQ(handle(5), moved + QPoint(150, 100));
    EXPECT_TRUE(placement().placementChanged);
    // During the drag only the markers move: the picture is still at the old offsets, the old
    // marker of handle 1 is gone and the new one is drawn (black inverted XOR blue).
    EXPECT_EQ(placement().offset, origin);
    EXPECT_EQ(viewPixel(origin + QPoint(2, 50)), kGrey);
    EXPECT_EQ(viewPixel(origin - QPoint(10, 10)), 0x000000u);
    EXPECT_EQ(viewPixel(moved - QPoint(10, 10)), 0xffff00u);

    movement.image1MouseUp();
    EXPECT_EQ(placement().offset, moved);
    EXPECT_EQ(placement().frameSize, QSize(300, 200));
    EXPECT_FALSE(placement().placementChanged);
    EXPECT_EQ(viewPixel(origin + QPoint(2, 50)), 0x000000u);
    EXPECT_EQ(viewPixel(moved + QPoint(50, 50)), kGrey);
    EXPECT_EQ(placementFitsField(program.image), std::nullopt);
    EXPECT_EQ(screen.beeps, 0);
}

TEST_F(ManualMovementTest, TheFrameMovesOnlyWithMarkerAndAGrabbedHandleWhileTheButtonIsDown) {
    program.exchange.setLinkActive(false);
    placePicture({300, 200});
    const QPoint origin = placement().frameOrigin;
    movement.image1MouseMove(handle(1) + QPoint(30, 30)); // no press
    movement.image1MouseDown(MouseButton::Left, handle(1));
    movement.image1MouseMove(handle(1) + QPoint(30, 30)); // `Igla` chosen
    movement.image1MouseUp();
    movement.choices.dragMarker = true;
    movement.image1MouseDown(MouseButton::Left, handle(5) + QPoint(30, 0)); // no handle
    movement.image1MouseMove(handle(5) + QPoint(60, 0));
    movement.image1MouseUp();
    EXPECT_EQ(placement().frameOrigin, origin);
    EXPECT_EQ(placement().offset, origin);
}

TEST_F(ManualMovementTest, APictureDraggedOffTheFieldIsPlacedThereButRefusedForTheJob) {
    program.exchange.setLinkActive(false);
    placePicture({300, 200});
    movement.choices.dragMarker = true;
    movement.image1MouseDown(MouseButton::Left, handle(1));
    movement.image1MouseMove({-20, 10});
    movement.image1MouseUp();
    EXPECT_EQ(placement().offset, QPoint(-20, 10));
    const std::optional<QString> refusal = placementFitsField(program.image);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->startsWith("Рисунок выходит за рабочее поле"));
    EXPECT_EQ(screen.statusLine, *refusal);
    EXPECT_EQ(screen.beeps, 1);
}

TEST_F(ManualMovementTest, DoubleClickSendsTheHeadToTheGrabbedHandleOnlyWithIgla) {
    program.exchange.setLinkActive(false);
    placePicture({300, 200});
    movement.image1MouseDown(MouseButton::Left, handle(6) + QPoint(-3, 4));
    movement.image1MouseUp();
    movement.image1DblClick();
    EXPECT_EQ(program.commands.position.column, handle(6).x());
    EXPECT_EQ(program.commands.position.row, handle(6).y());

    program.commands.position = {};
    movement.choices.dragMarker = true;
    movement.image1DblClick();
    movement.choices.dragMarker = false;
    movement.choices.headMove = true;
    movement.image1DblClick();
    EXPECT_EQ(program.commands.position.column, 0);

    movement.choices.headMove = false;
    movement.image1MouseDown(MouseButton::Left, {5, 5}); // grabs nothing
    program.commands.position = {};
    movement.image1DblClick();
    EXPECT_EQ(program.commands.position.column, 0);
}

TEST_F(ManualMovementTest, DoubleClickTrafficIsTheTimingThenTheMove) {
    placePicture({300, 200});
    answerCommands(2);
    movement.image1MouseDown(MouseButton::Left, handle(1));
    movement.image1MouseUp();
    sent();
    answerCommands(6);
    movement.image1DblClick();
    const QPoint h1 = handle(1);
    EXPECT_EQ(sent(), (QStringList{kTiming16X, kTiming16Y, kUp,
                                   QStringLiteral("1b12%1").arg(h1.x() - 1, 4, 16, QChar('0')),
                                   QStringLiteral("1b10%1").arg(2 * h1.y() - 1, 4, 16, QChar('0')),
                                   kPut0}));
}

TEST_F(ManualMovementTest, WithoutAPictureThereIsNoFrameToGrabOrToMoveTo) {
    program.exchange.setLinkActive(false);
    movement.choices.dragMarker = true;
    movement.image1MouseDown(MouseButton::Left, {0, 0});
    EXPECT_EQ(movement.grabbedHandle(), 0);
    movement.image1MouseMove({40, 40});
    movement.image1MouseUp();
    EXPECT_FALSE(placement().placementChanged);
    movement.image1MouseDown(MouseButton::Right, {0, 0});
    EXPECT_FALSE(screen.changeBoxAt.has_value());

    program.commands.position = {3, 4};
    movement.geometryButtonClick(5);
    EXPECT_EQ(program.commands.position.column, 4);
    EXPECT_EQ(screen.statusLine, "Рисунок не открыт: головка не перемещена.");
}

TEST_F(ManualMovementTest, GeometryButtonsRefuseAHandleOffTheField) {
    program.exchange.setLinkActive(false);
    placePicture({3000, 200}); // wider than the field: centred, it overhangs on both sides
    ASSERT_LT(handle(1).x(), 0);
    movement.geometryButtonClick(1);
    EXPECT_EQ(program.commands.position.column, 0);
    EXPECT_TRUE(screen.statusLine.contains("вне рабочего поля"));
    movement.geometryButtonClick(2);
    EXPECT_EQ(program.commands.position.column, handle(2).x());
    movement.geometryButtonClick(0);
    movement.geometryButtonClick(10);
    EXPECT_EQ(program.commands.position.column, handle(2).x());
}

} // namespace
} // namespace zuk::test
