// "Файл" → "Подготовка рисунка" and the preparation dialog of the open, in the main window: the
// real dialog, answered by the test, prepares the picture held and is remembered.
#include "app/ui/MenuKeys.h"
#include "app/ui/Windows.h"
#include "image/PreparationFile.h"
#include "image/ui/PreparationDialog.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/JobPictures.h"
#include "support/ModalDialogs.h"
#include "support/QuietMenuForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace zuk::test {
namespace {

// The quiet window with the real preparation dialog.
class PreparingMenuForm : public AnsweringMenuForm {
public:
    using AnsweringMenuForm::AnsweringMenuForm;
    std::optional<PreparationChoices> askPreparation(PreparationPreview& preview,
                                                     const PreparationChoices& choices) override {
        return TMenuForm::askPreparation(preview, choices); // NOLINT(bugprone-parent-virtual-call)
    }
};

// Runs `action`; when the preparation dialog comes up, `answer` works its controls and "OK"
// is clicked.
void answeringThePreparation(const std::function<void()>& action,
                             const std::function<void(PreparationDialog&)>& answer) {
    whileDialogShown<PreparationDialog>(action, [&answer](PreparationDialog& dialog) {
        answer(dialog);
        dialog.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
    });
}

TEST(PreparationWindow, TheOpenAndTheFileMenuEntryPrepareThePictureHeld) {
    QTemporaryDir dir;
    VirtualClock clock;
    QStringList traffic;
    writeSimulatorConfiguration(dir.path(), 0, QSize(200, 150));
    auto windows = createWindows<PreparingMenuForm>(
        clock, tappedEngraver(sim::makeEngraver(), clock, traffic), dir.path());
    auto& menu = static_cast<PreparingMenuForm&>(*windows->menuForm);
    menu.picture = dir.filePath("picture.bmp");
    ASSERT_TRUE(gradientPicture(QSize(40, 20)).save(menu.picture, "BMP"));

    answeringThePreparation(
        [&] { menu.findAction("Open")->trigger(); },
        [](PreparationDialog& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("WidthBox"))->setValue(20);
        });
    ImagePreparation& image = menu.program().image;
    EXPECT_EQ(image.dotImage().size(), QSize(20, 10));

    QAction* entry = menu.findAction("Prepare1");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(withoutMnemonic(entry->text()), "Подготовка рисунка");
    EXPECT_TRUE(menu.menuEntry(MenuEntry::File)->menu()->actions().contains(entry)); // under "Файл"
    answeringThePreparation(
        [&] { entry->trigger(); },
        [](PreparationDialog& dialog) {
            EXPECT_EQ(dialog.choices().width, 20);
            dialog.findChild<QCheckBox*>(QStringLiteral("MirrorLeftRight"))->setChecked(true);
        });
    EXPECT_EQ(image.dotImage().size(), QSize(20, 10));
    EXPECT_TRUE(image.preparation().mirrorLeftRight);
    QFile remembered(dir.filePath(kPreparationFileName));
    ASSERT_TRUE(remembered.open(QIODevice::ReadOnly));
    EXPECT_EQ(remembered.readAll(), QByteArray("mirror=h\r\nwidth=20\r\n"));
    EXPECT_TRUE(menu.messages.isEmpty()) << menu.messages.join('|').toStdString();
}

} // namespace
} // namespace zuk::test
