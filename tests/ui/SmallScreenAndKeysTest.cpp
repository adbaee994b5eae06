// The main window on small screens and from the keyboard: its size and place on the screen,
// the panels beside a picture at the field's top left, the menus' mnemonics and shortcuts.
#include "app/ui/FieldImage.h"
#include "app/ui/MenuKeys.h"
#include "app/ui/ScreenPlacement.h"
#include "app/ui/Windows.h"
#include "image/Placement.h"
#include "service/ui/ChangeBox.h"
#include "service/ui/GroupBox1.h"
#include "service/ui/PanelPlacement.h"
#include "support/QuietMenuForm.h"
#include "support/ScriptedLine.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace zuk::test {
namespace {

TEST(ScreenPlacement, TheDesignedSizeWhereItFitsElseWhatTheScreenLeavesCentred) {
    struct Case {
        QRect available;
        QRect expected; // the client area
    };
    const Case cases[] = {
        // Room enough: 1000 × 760 in the middle.
        {{0, 0, 1600, 1200}, {300, 235, 1000, 760}},
        // 1024 × 768: the width fits beside the borders, the height leaves the title bar.
        {{0, 0, 1024, 768}, {12, 40, 1000, 718}},
        // A panel at the top takes 28 pixels: the area below it.
        {{0, 28, 1024, 740}, {12, 68, 1000, 690}},
        {{0, 0, 800, 600}, {10, 40, 780, 550}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowGeometryOnScreen(QSize(1000, 760), c.available), c.expected)
            << c.available.width() << " x " << c.available.height();
}

TEST(PanelPlacement, APanelKeepsClearOfThePictureWhereTheViewLeavesRoom) {
    const QRect area(0, 0, 900, 600);
    const QSize panel(240, 400);
    const QPoint preferred(5, 5);
    struct Case {
        QRect picture;
        QPoint expected;
    };
    const Case cases[] = {
        {{}, preferred},                   // no picture
        {{500, 300, 100, 100}, preferred}, // away from the top left
        {{-11, -10, 440, 320}, {434, 5}},  // "Left Top": right of it
        {{-11, -10, 800, 150}, {5, 145}},  // wide: below it
        {{-11, -10, 890, 250}, preferred}, // too wide and too high to go beside it
        {{-11, -10, 910, 610}, preferred}, // the whole view
    };
    for (const Case& c : cases) {
        const QPoint at = clearOf(c.picture, panel, area, preferred);
        if (c.expected != at)
            ADD_FAILURE() << "picture " << c.picture.x() << ", " << c.picture.y() << " "
                          << c.picture.width() << " x " << c.picture.height() << ": " << at.x()
                          << ", " << at.y();
    }
}

// The main window of a start-up without a device.
class KeysWindow : public ::testing::Test {
protected:
    class Form : public AnsweringMenuForm {
    public:
        using AnsweringMenuForm::AnsweringMenuForm;
        std::optional<ConversionVariant> askConversionVariant() override {
            ++opened;
            return std::nullopt;
        }
        int opened = 0;
    };
    void SetUp() override {
        windows = createWindows<Form>(clock, line.factory(), dir.path());
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }
    Form& form() { return static_cast<Form&>(*windows->menuForm); }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
    std::unique_ptr<Windows> windows;
};

TEST_F(KeysWindow, TheWindowFitsItsScreenAndTheStartUpsBoxesAreCentredOnIt) {
    const QRect screen = form().screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(form().geometry())) << form().width() << " x " << form().height();
    EXPECT_LE((form().geometry().center() - screen.center()).manhattanLength(), 40);
    // A message box shown before the window (as the start-up's are) is centred on the screen.
    auto hidden = createWindows<QuietMenuForm>(clock, line.factory(), dir.path());
    QPoint boxCentre;
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxCentre = box->geometry().center();
            box->close();
        }
    });
    // The window's own message box, not the test's record of it.
    hidden->menuForm->TMenuForm::showMessage(MessageKind::Information, "Проверка");
    EXPECT_LE((boxCentre - screen.center()).manhattanLength(), 60)
        << boxCentre.x() << ", " << boxCentre.y();
    // So is the unfinished job's dialog.
    hidden->form1->show();
    QApplication::processEvents();
    const QPoint formCentre = hidden->form1->geometry().center();
    hidden->form1->hide();
    EXPECT_LE((formCentre - screen.center()).manhattanLength(), 60)
        << formCentre.x() << ", " << formCentre.y();
}

TEST_F(KeysWindow, EveryMenuHasMnemonicsOfItsOwnAndTheFileShortcutsActWhileItIsUsable) {
    const std::function<void(const QList<QAction*>&)> checkMenu =
        [&](const QList<QAction*>& actions) {
            std::set<QChar> letters;
            for (QAction* action : actions) {
                if (!action->isVisible() || action->isSeparator() ||
                    action == form().menuEntry(MenuEntry::Stop))
                    continue;
                const QString text = action->text();
                const qsizetype at = text.indexOf('&');
                ASSERT_GE(at, 0) << text.toStdString();
                EXPECT_TRUE(letters.insert(text[at + 1].toLower()).second) << text.toStdString();
                if (action->menu())
                    checkMenu(action->menu()->actions());
            }
        };
    checkMenu(form().menuBar()->actions());
    EXPECT_FALSE(
        form().menuEntry(MenuEntry::Stop)->text().contains('&')); // STOP has its Delete key
    EXPECT_EQ(withoutMnemonic(form().findAction("Open")->text()), "Открыть");
    EXPECT_EQ(withoutMnemonic(form().findAction("About1")->text()), "О...");
    EXPECT_EQ(withoutMnemonic("Tom && &Jerry"), "Tom & Jerry");
    EXPECT_EQ(form().findAction("Open")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(form().findAction("Save1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    // "Файл" is usable without a device: Ctrl+O opens.
    QTest::keyClick(&form(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form().opened, 1);
    // A job locks "Файл", and its shortcut with it.
    form().program().menus.work(false);
    QTest::keyClick(&form(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form().opened, 1);
}

TEST_F(KeysWindow, EscapeClosesChangeBox) {
    ChangeBox* box = form().changeBox();
    form().showChangeBox(QPoint(10, 10));
    ASSERT_TRUE(box->isVisible());
    QTest::keyClick(&form(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
}

} // namespace
} // namespace zuk::test
