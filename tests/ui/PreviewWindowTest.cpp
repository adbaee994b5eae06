// "Файл" → "Предпросмотр" in the main window: the dialog with the plate scaled to fit, to the
// picture or one pixel per cell, and the two times; the device hears nothing of it, and none
// need answer.
#include "app/CountText.h"
#include "app/ui/MenuKeys.h"
#include "app/ui/Windows.h"
#include "run/Preview.h"
#include "run/ui/PreviewDialog.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/JobPictures.h"
#include "support/ModalDialogs.h"
#include "support/QuietMenuForm.h"
#include "support/ScriptedLine.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zuk::test {
namespace {

// Where the picture's cells are drawn, in the coordinates of the visible part of the plate.
QRect pictureInSight(const PreviewDialog& dialog) {
    const QRect picture = dialog.plateView()->pictureRect();
    return QRect(dialog.plateView()->mapTo(dialog.scrollArea()->viewport(), picture.topLeft()),
                 picture.size());
}

// What the dialog showed when it came up, and at the picture's scale and at 1:1.
struct SeenDialog {
    bool shown = false;
    QString title;
    QString estimate;
    QString modelled;
    QString strikes;
    QSize plate;
    bool fittedAtFirst = false;
    QRect fittedRect;
    QSize viewport;
    QRect pictureFitted; // the picture at its scale, in the visible part's coordinates
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
        seen.strikes = dialog.findChild<QLabel*>("StrikesLabel")->text();
        PlateView* view = dialog.plateView();
        seen.plate = view->plate().size();
        seen.fittedAtFirst = dialog.scaleButton(PlateScale::Window)->isChecked() &&
                             view->scaleMode() == PlateScale::Window;
        seen.fittedRect = view->plateRect();
        seen.viewport = dialog.scrollArea()->viewport()->size();
        dialog.scaleButton(PlateScale::Picture)->click();
        QApplication::processEvents();
        seen.pictureFitted = pictureInSight(dialog);
        dialog.scaleButton(PlateScale::OneToOne)->click();
        QApplication::processEvents();
        seen.unscaledView = view->size();
        dialog.reject();
    });
    return seen;
}

// The picture fills the visible part along one side, its margin of field cells aside.
void expectFilledByThePicture(const QRect& picture, QSize visible) {
    EXPECT_TRUE(QRect(QPoint(0, 0), visible).contains(picture))
        << picture.x() << ", " << picture.y() << " " << picture.width() << " x "
        << picture.height();
    EXPECT_TRUE(picture.width() > visible.width() / 2 || picture.height() > visible.height() / 2)
        << picture.width() << " x " << picture.height();
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
    EXPECT_EQ(withoutMnemonic(entry->text()), "Предпросмотр");
    EXPECT_TRUE(menu.menuEntry(MenuEntry::File)->menu()->actions().contains(entry)); // under "Файл"
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
    // A picture of 40 x 20 cells is enlarged to fill the window.
    expectFilledByThePicture(seen.pictureFitted, seen.viewport);
    EXPECT_EQ(seen.unscaledView, seen.plate);
    // The count the preview's own engraver struck, as the operator reads counts.
    const qint64 strikes = QString(seen.strikes).remove(QChar(0x00a0)).toLongLong();
    EXPECT_GT(strikes, 100);
    EXPECT_EQ(seen.strikes, countText(strikes));
    EXPECT_FALSE(seen.estimate.isEmpty());
    EXPECT_NE(seen.modelled, "00:00:00");
    EXPECT_TRUE(traffic.isEmpty()) << traffic.join('|').toStdString();
    EXPECT_TRUE(menu.messages.isEmpty()) << menu.messages.join('|').toStdString();
    EXPECT_TRUE(
        menu.menuEntry(MenuEntry::Work)->isEnabled()); // the window is back to preparing jobs
}

// No device answers: the window is in the state without a device, where "Работа" is locked,
// yet the preview, which sends nothing, opens from "Файл" once a picture is open.
TEST(PreviewWindow, WithNoDeviceAnsweringThePreviewOpensFromTheMenuAndShowsThePlate) {
    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine silent(clock);
    writeSimulatorConfiguration(dir.path(), 0, QSize(200, 150));
    auto windows = createWindows<AnsweringMenuForm>(clock, silent.factory(), dir.path());
    auto& menu = static_cast<AnsweringMenuForm&>(*windows->menuForm);
    QAction* entry = menu.findAction("Preview1");
    EXPECT_FALSE(entry->isEnabled()); // no picture yet
    menu.picture = dir.filePath("picture.bmp");
    ASSERT_TRUE(gradientPicture(QSize(40, 20)).save(menu.picture, "BMP"));
    menu.placementButton = 1; // "Left Top"
    menu.findAction("Open")->trigger();
    EXPECT_FALSE(menu.menuEntry(MenuEntry::Work)->isEnabled()); // "Работа"
    EXPECT_TRUE(menu.menuEntry(MenuEntry::File)->isEnabled());
    EXPECT_TRUE(entry->isEnabled());
    const QByteArray before = silent.writtenBytes();
    menu.messages.clear();

    QImage plate;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<PreviewDialog*>(QApplication::activeModalWidget())) {
            plate = dialog->plateView()->plate();
            dialog->reject();
        }
    });
    watcher.start();
    entry->trigger();
    ASSERT_FALSE(plate.isNull()) << menu.messages.join('|').toStdString();
    // The picture's cells are struck where it lies on the field, and nothing else.
    const QRect picture(menu.program().image.placement().offset, QSize(40, 20));
    int struck = 0;
    for (int y = 0; y < plate.height(); ++y)
        for (int x = 0; x < plate.width(); ++x)
            if (qGray(plate.pixel(x, y)) > 0) {
                ++struck;
                EXPECT_TRUE(picture.contains(x, y)) << x << ", " << y;
            }
    EXPECT_GT(struck, 100);
    EXPECT_EQ(silent.writtenBytes(), before); // nothing went to the port
    EXPECT_TRUE(menu.messages.isEmpty()) << menu.messages.join('|').toStdString();
    EXPECT_FALSE(
        menu.menuEntry(MenuEntry::Work)->isEnabled()); // back to the state without a device
    EXPECT_TRUE(menu.menuEntry(MenuEntry::File)->isEnabled());
}

TEST(PreviewWindow, APlateLargerThanTheWindowScrollsToThePictureAtOnePixelPerCell) {
    JobPreview preview;
    preview.plate = QImage(1930, 2330, QImage::Format_Grayscale8);
    preview.plate.fill(64);
    preview.picture = QRect(1500, 1900, 300, 200); // towards the bottom right
    preview.strikes = 22778;
    PreviewDialog dialog(preview);
    dialog.show();
    QApplication::processEvents();
    // Counts grouped the Russian way.
    EXPECT_EQ(dialog.findChild<QLabel*>("StrikesLabel")->text(), QStringLiteral("22\u00a0778"));
    QScrollBar* vertical = dialog.scrollArea()->verticalScrollBar();
    EXPECT_EQ(vertical->maximum(), 0);

    dialog.scaleButton(PlateScale::OneToOne)->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog.plateView()->size(), QSize(1930, 2330));
    EXPECT_GT(vertical->maximum(), 1000);
    EXPECT_GT(dialog.scrollArea()->horizontalScrollBar()->maximum(), 1000);
    const QRect viewport(QPoint(0, 0), dialog.scrollArea()->viewport()->size());
    EXPECT_TRUE(viewport.contains(pictureInSight(dialog).center()));

    dialog.scaleButton(PlateScale::Picture)->click();
    QApplication::processEvents();
    expectFilledByThePicture(pictureInSight(dialog), viewport.size());
    // Scaled to the picture it stays so as the window grows.
    dialog.resize(dialog.size() + QSize(200, 100));
    QApplication::processEvents();
    expectFilledByThePicture(pictureInSight(dialog), dialog.scrollArea()->viewport()->size());

    dialog.scaleButton(PlateScale::Window)->click();
    QApplication::processEvents();
    EXPECT_EQ(vertical->maximum(), 0);
    EXPECT_LE(dialog.plateView()->height(), dialog.scrollArea()->viewport()->height());
}

} // namespace
} // namespace zuk::test
