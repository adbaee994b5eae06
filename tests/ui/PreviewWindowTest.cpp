// "Работа" → "Предпросмотр" in the main window: the dialog with the plate scaled to fit and
// the two times, one pixel per cell on demand; the device hears nothing of it.
#include "app/ui/Windows.h"
#include "run/Preview.h"
#include "run/ui/PreviewDialog.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/JobPictures.h"
#include "support/ModalDialogs.h"
#include "support/QuietMenuForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zuk::test {
namespace {

// What the dialog showed when it came up.
struct SeenDialog {
    bool shown = false;
    QString title;
    QString estimate;
    QString modelled;
    QSize plate;
    bool fittedAtFirst = false;
    QRect fittedRect;
    QSize viewport;
    QSize unscaledView;
};

// Runs `action` and looks at the preview dialog it opens, then closes it.
SeenDialog whilePreviewShown(const std::function<void()>& action) {
    SeenDialog seen;
    whileDialogShown<PreviewDialog>(action, [&seen](PreviewDialog& dialog) {
        seen.shown = true;
        seen.title = dialog.windowTitle();
        seen.estimate = dialog.findChild<QLabel*>("EstimateLabel")->text();
        seen.modelled = dialog.findChild<QLabel*>("ModelledLabel")->text();
        PlateView* view = dialog.plateView();
        seen.plate = view->plate().size();
        seen.fittedAtFirst = dialog.fitBox()->isChecked() && view->fitted();
        seen.fittedRect = view->plateRect();
        seen.viewport = dialog.scrollArea()->viewport()->size();
        dialog.fitBox()->click();
        QApplication::processEvents();
        seen.unscaledView = view->size();
        dialog.reject();
    });
    return seen;
}

TEST(PreviewWindow, TheMenuEntryShowsThePlateAndBothTimesWithoutTalkingToTheDevice) {
    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    QStringList traffic;
    writeSimulatorConfiguration(dir.path(), 0, QSize(200, 150));
    auto windows = createWindows<AnsweringMenuForm>(clock, tappedEngraver(engraver, clock, traffic),
                                                    dir.path());
    auto& menu = static_cast<AnsweringMenuForm&>(*windows->menuForm);
    menu.picture = dir.filePath("picture.bmp");
    ASSERT_TRUE(gradientPicture(QSize(40, 20)).save(menu.picture, "BMP"));
    menu.findAction("Open")->trigger();
    QAction* entry = menu.findAction("Preview1");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "Предпросмотр");
    EXPECT_TRUE(
        menu.menuEntry(MenuEntry::Work)->menu()->actions().contains(entry)); // under "Работа"
    traffic.clear();

    const SeenDialog seen = whilePreviewShown([&] { entry->trigger(); });
    ASSERT_TRUE(seen.shown) << menu.messages.join('|').toStdString();
    EXPECT_EQ(seen.title, "Предпросмотр");
    EXPECT_EQ(seen.plate, menu.program().image.view().image().size()); // the field and its border
    EXPECT_TRUE(seen.fittedAtFirst);
    // Scaled to fit: the whole plate inside the visible part, as large as it fits.
    EXPECT_TRUE(QRect(QPoint(0, 0), seen.viewport).contains(seen.fittedRect));
    EXPECT_TRUE(seen.fittedRect.width() == seen.viewport.width() ||
                seen.fittedRect.height() == seen.viewport.height());
    EXPECT_EQ(seen.unscaledView, seen.plate);
    EXPECT_FALSE(seen.estimate.isEmpty());
    EXPECT_NE(seen.modelled, "00:00:00");
    EXPECT_TRUE(traffic.isEmpty()) << traffic.join('|').toStdString();
    EXPECT_TRUE(menu.messages.isEmpty()) << menu.messages.join('|').toStdString();
    EXPECT_TRUE(
        menu.menuEntry(MenuEntry::Work)->isEnabled()); // the window is back to preparing jobs
}

TEST(PreviewWindow, APlateLargerThanTheWindowScrollsAtOnePixelPerCell) {
    JobPreview preview;
    preview.plate = QImage(1930, 2330, QImage::Format_Grayscale8);
    preview.plate.fill(64);
    PreviewDialog dialog(preview);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.scrollArea()->verticalScrollBar()->maximum(), 0);
    dialog.fitBox()->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog.plateView()->size(), QSize(1930, 2330));
    EXPECT_GT(dialog.scrollArea()->verticalScrollBar()->maximum(), 1000);
    EXPECT_GT(dialog.scrollArea()->horizontalScrollBar()->maximum(), 1000);
    dialog.fitBox()->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog.scrollArea()->verticalScrollBar()->maximum(), 0);
    EXPECT_LE(dialog.plateView()->height(), dialog.scrollArea()->viewport()->height());
}

} // namespace
} // namespace zuk::test
