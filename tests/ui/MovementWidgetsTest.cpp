// The manual movement as the operator meets it: real mouse events through the main window
// onto a scrolled field view, the two panels and the menu items, against the simulated
// engraver on virtual time.
#include "app/Language.h"
#include "app/ui/FieldImage.h"
#include "app/ui/Windows.h"
#include "service/ui/ChangeBox.h"
#include "service/ui/GroupBox1.h"
#include "service/ui/PanelPlacement.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/QuietMenuForm.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

class MovementWidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeSimulatorConfiguration(dir.path());
        windows = createWindows<QuietMenuForm>(clock, tappedEngraver(engraver, clock, traffic),
                                               dir.path());
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        program().image.dotImage().bitmap = picture;
        program().image.redrawView();
        // Scrolled so that the centred picture is in sight but the field's origin is not.
        scroll = QPoint(700, 1000);
        form().scrollBox1()->horizontalScrollBar()->setValue(scroll.x());
        form().scrollBox1()->verticalScrollBar()->setValue(scroll.y());
        ASSERT_TRUE(form().messages.isEmpty()) << form().messages.join('|').toStdString();
        traffic.clear();
    }

    QuietMenuForm& form() { return static_cast<QuietMenuForm&>(*windows->menuForm); }
    Program& program() { return form().program(); }
    QWidget* viewport() { return form().scrollBox1()->viewport(); }
    QPoint handle(int k) { return program().image.placement().handles[k - 1]; }
    QPoint deviceHead() const {
        return {engraver->machine().head.column, engraver->machine().head.rowSteps / 2};
    }
    // Where a field point is on the screen: the scroll box shows the field shifted by its
    // scroll position.
    QPoint inWindow(QPoint fieldPoint) { return viewport()->mapTo(&form(), fieldPoint - scroll); }
    QWindow* window() { return form().windowHandle(); }
    void press(Qt::MouseButton button, QPoint fieldPoint) {
        QTest::mousePress(window(), button, {}, inWindow(fieldPoint));
    }
    void release(Qt::MouseButton button, QPoint fieldPoint) {
        QTest::mouseRelease(window(), button, {}, inWindow(fieldPoint));
    }
    void click(Qt::MouseButton button, QPoint fieldPoint) {
        press(button, fieldPoint);
        release(button, fieldPoint);
    }
    template <typename W> W* child(const char* name) { return form().findChild<W*>(name); }

    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    QStringList traffic;
    std::unique_ptr<Windows> windows;
    QPoint scroll;
};

TEST_F(MovementWidgetsTest, ARightPressOnAHandleOpensChangeBoxBesideItAndOkClosesIt) {
    ChangeBox* box = form().changeBox();
    click(Qt::RightButton, handle(5) + QPoint(40, 0));
    EXPECT_FALSE(box->isVisible());

    click(Qt::RightButton, handle(5) + QPoint(3, 2));
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->parentWidget(), viewport());
    EXPECT_EQ(box->pos(), handle(5) + QPoint(3 + 20, 2) - scroll);
    EXPECT_EQ(box->title(), "Перемещение");
    // Each press sent the motor timing setting, nothing else.
    EXPECT_EQ(traffic, (QStringList{"ProgX_Motor 60 16", "ProgY_Motor 60 16", "ProgX_Motor 60 16",
                                    "ProgY_Motor 60 16"}));
    QTest::mouseClick(box->findChild<QPushButton*>("Ok"), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(MovementWidgetsTest, ChangeBoxHoldsTwoIndependentChoices) {
    auto* allDown = child<QRadioButton>("AllDown");
    auto* marker = child<QRadioButton>("Marker");
    EXPECT_TRUE(child<QRadioButton>("Igla")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("UpMove")->isChecked());
    EXPECT_EQ(child<QRadioButton>("UpMove")->text(), "Поднята приl");
    allDown->click();
    EXPECT_TRUE(child<QRadioButton>("Igla")->isChecked());
    EXPECT_EQ(program().movement.choices.needle, NeedleChoice::Lowered);
    marker->click();
    EXPECT_TRUE(allDown->isChecked());
    EXPECT_TRUE(program().movement.choices.dragMarker);
}

TEST_F(MovementWidgetsTest, DraggingHandleNineWithTheMouseMovesThePicture) {
    child<QRadioButton>("Marker")->click();
    const QPoint origin = program().image.placement().offset;
    const QPoint grab = handle(9) + QPoint(-2, 1);
    press(Qt::LeftButton, grab);
    QTest::mouseMove(window(), inWindow(grab + QPoint(8, -2)));
    QTest::mouseMove(window(), inWindow(grab + QPoint(15, -5)));
    release(Qt::LeftButton, grab + QPoint(15, -5));
    EXPECT_EQ(program().image.placement().offset, origin + QPoint(15, -5));
    const QImage& shown = form().fieldImage()->image();
    EXPECT_EQ(shown.pixel(origin + QPoint(2, 50)) & 0xffffff, 0u);
    EXPECT_EQ(shown.pixel(origin + QPoint(15 + 50, -5 + 50)), QColor(Qt::gray).rgb());
    // Dragging is no head movement: only the timing setting of the press went out.
    EXPECT_EQ(traffic, (QStringList{"ProgX_Motor 60 16", "ProgY_Motor 60 16"}));
}

TEST_F(MovementWidgetsTest, WithHeadMoveAClickSendsTheHeadToThePointUnderThePointer) {
    QAction* headMove = form().findAction("HeadMove");
    EXPECT_FALSE(headMove->isChecked());
    headMove->trigger();
    EXPECT_TRUE(program().movement.choices.headMove);
    click(Qt::LeftButton, {1234, 1111});
    EXPECT_EQ(deviceHead(), QPoint(1234, 1111));
    EXPECT_EQ(traffic, (QStringList{"ProgX_Motor 60 16", "ProgY_Motor 60 16", "Up"} +
                        moveTraffic({0, 0}, {1234, 1111}) + QStringList{"Put 0"}));
    headMove->trigger();
    EXPECT_FALSE(program().movement.choices.headMove);
}

TEST_F(MovementWidgetsTest, ADoubleClickOnAHandleSendsTheHeadThere) {
    const QPoint onHandle = handle(3) + QPoint(4, -6);
    QTest::mouseDClick(window(), Qt::LeftButton, {}, inWindow(onHandle));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, inWindow(onHandle));
    EXPECT_EQ(deviceHead(), handle(3));
    EXPECT_EQ(program().movement.grabbedHandle(), 3);
}

TEST_F(MovementWidgetsTest, TheGeometryPanelHoldsTheWindowInTheWorkStateUntilFinished) {
    form().findAction("N4")->trigger();
    GroupBox1* panel = form().groupBox1();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->parentWidget(), viewport());
    // At the view's top, beside the picture placed at the field's top left and its handles.
    const QRect picture =
        frameWithHandles(program().image.placement()).translated(form().fieldImage()->pos());
    EXPECT_EQ(panel->y(), 5);
    EXPECT_FALSE(panel->geometry().intersects(picture)) << panel->x();
    EXPECT_TRUE(viewport()->rect().contains(panel->geometry()));
    EXPECT_FALSE(form().fieldImage()->isEnabled());
    for (const MenuEntry position :
         {MenuEntry::File, MenuEntry::Service, MenuEntry::Work, MenuEntry::Settings,
          MenuEntry::Port, MenuEntry::Placement, MenuEntry::Test})
        EXPECT_FALSE(form().menuEntry(position)->isEnabled()) << int(position);
    EXPECT_EQ(panel->findChild<QLabel*>("Label4")->text(), "Перемещение инструмента на позицию");
    const QStringList captions{"LeftTop",     "Middle Top",    "Right Top",
                               "Left Middle", "Middle Middle", "Right Middle",
                               "Left Bottom", "Midle Bottom",  "Right Bottom"};
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(panel->positionButton(k)->objectName(), QStringLiteral("Button%1").arg(k + 6));
        EXPECT_EQ(panel->positionButton(k)->text(), captions[k - 1]);
    }
    EXPECT_TRUE(panel->findChild<QRadioButton*>("AllUp1")->isChecked());

    panel->findChild<QRadioButton*>("AllDown1")->click();
    QTest::mouseClick(panel->positionButton(7), Qt::LeftButton);
    EXPECT_EQ(deviceHead(), handle(7));
    EXPECT_EQ(traffic, (QStringList{"ProgX_Motor 60 16", "ProgY_Motor 60 16", "Put 0"} +
                        moveTraffic({0, 0}, handle(7))));
    EXPECT_TRUE(engraver->machine().needleDown);

    QTest::mouseClick(panel->findChild<QPushButton*>("Button16"), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(form().fieldImage()->isEnabled());
    EXPECT_TRUE(form().menuEntry(MenuEntry::Settings)->isEnabled());
}

TEST_F(MovementWidgetsTest, ALanguageFileRenamesTheGeometryPanel) {
    Texts& texts = program().texts;
    texts.setLanguageLoaded(true);
    texts.setLanguageText(142, QStringLiteral("Переместить инструмент в точку рисунка"));
    texts.setLanguageText(542, QStringLiteral("Готово"));
    const QStringList notFound = applyLanguageCaptions(texts, LanguageWindow::Main, &form());
    EXPECT_FALSE(notFound.contains("Label4"));
    EXPECT_FALSE(notFound.contains("Button16"));
    form().findAction("N4")->trigger();
    GroupBox1* panel = form().groupBox1();
    auto* heading = panel->findChild<QLabel*>("Label4");
    EXPECT_EQ(heading->text(), "Переместить инструмент в точку рисунка");
    EXPECT_GE(heading->width(), heading->sizeHint().width()); // not clipped
    EXPECT_EQ(panel->findChild<QPushButton*>("Button16")->text(), "Готово");
}

TEST_F(MovementWidgetsTest, TheNeedleControlsFollowTheLink) {
    program().menus.linkLost();
    for (const char* name : {"Igla", "AllUp", "UpMove", "AllDown"})
        EXPECT_FALSE(child<QRadioButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(child<QRadioButton>("Marker")->isEnabled());
    EXPECT_FALSE(form().fieldImage()->isEnabled());
    program().menus.linkUp();
    for (const char* name : {"Igla", "AllUp", "UpMove", "AllDown"})
        EXPECT_TRUE(child<QRadioButton>(name)->isEnabled()) << name;
}

} // namespace
} // namespace zuk::test
