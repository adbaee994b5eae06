#include "app/ui/Application.h"
#include "app/ui/FieldImage.h"
#include "app/ui/MenuKeys.h"
#include "app/ui/Windows.h"
#include "support/ScriptedLine.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

// The main window with its modal boxes answered by the test.
class TestMenuForm : public TMenuForm {
public:
    using TMenuForm::TMenuForm;
    void showMessage(MessageKind, const QString& text) override { messages << text; }
    RecoveryChoice askRecoveryChoice() override {
        ++recoveryAsked;
        return {true, 3};
    }
    QStringList messages;
    int recoveryAsked = 0;
};

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<Windows> create() {
        return createWindows<TestMenuForm>(clock, line.factory(), dir.path());
    }
    TestMenuForm& form(Windows& w) { return static_cast<TestMenuForm&>(*w.menuForm); }
    void answerStartUp() {
        for (int s = 0; s < 105; ++s)
            line.answer({0xA0 + (s & 15), 0x50 + (s & 15)});
    }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
};

TEST_F(MainWindowTest, WindowsAreCreatedInTheirOrderWithTheTitle) {
    auto windows = create();
    EXPECT_EQ(windows->creationOrder,
              (QStringList{"zuk::TMenuForm", "zuk::TAboutBox", "zuk::TForm1", "zuk::TForm5",
                           "zuk::TForm4", "zuk::TConvertForm"}));
    EXPECT_EQ(windows->menuForm->windowTitle(), "ZUK-5.6");
}

TEST_F(MainWindowTest, TitlesAreExactlyTheProgramsOwn) {
    // The application sets no display name of its own (it follows the application name), so
    // the window system appends nothing to the titles below.
    setUpApplication();
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("probe");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    QCoreApplication::setApplicationName(name);

    auto windows = create();
    EXPECT_EQ(windows->menuForm->windowTitle(), "ZUK-5.6");
    EXPECT_EQ(windows->form5->windowTitle(), "Portret_Properties");
    EXPECT_EQ(windows->convertForm->windowTitle(), "ConvertForm");
    EXPECT_EQ(windows->form1->windowTitle(), "Внимание !");
    EXPECT_EQ(windows->form4->windowTitle(), "Eror message.");

    // A message box is titled with the application title.
    QString boxTitle;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxTitle = box->windowTitle();
            box->close();
        }
    });
    closer.start();
    windows->menuForm->TMenuForm::showMessage(MessageKind::Information, "Проверка");
    EXPECT_EQ(boxTitle, "ZUK-5.6");
}

TEST_F(MainWindowTest, MainMenuHasNineEntriesByPositionWithTheHiddenOnesHidden) {
    auto windows = create();
    TMenuForm& menu = *windows->menuForm;
    const QStringList captions{"Файл",         "Sevice", "Работа", "Установки", "Порт",
                               "Расположение", "Тест",   "Помощь", "STOP"};
    const std::vector<bool> visible{true, false, true, true, true, false, true, true, false};
    ASSERT_EQ(menu.menuBar()->actions().size(), 9);
    for (int pos = 0; pos < 9; ++pos) {
        // The entry by position on the menu bar is the entry of that name.
        QAction* entry = menu.menuBar()->actions().at(pos);
        EXPECT_EQ(entry, menu.menuEntry(static_cast<MenuEntry>(pos))) << pos;
        EXPECT_EQ(withoutMnemonic(entry->text()), captions[pos]) << pos;
        EXPECT_EQ(entry->isVisible(), visible[pos]) << pos;
    }
    EXPECT_EQ(menu.menuEntry(MenuEntry::Stop)->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(menu.findAction("Com11")->isChecked());
    EXPECT_FALSE(menu.findAction("SelfTesting1")->isEnabled());
    EXPECT_TRUE(menu.findAction("Qual2")->isChecked());
}

// Hidden entries ("Sevice", "Расположение") cannot be enabled while hidden; the states are
// checked on the visible ones.
const std::vector<MenuEntry> kVisibleEntries{MenuEntry::File, MenuEntry::Work, MenuEntry::Settings,
                                             MenuEntry::Port, MenuEntry::Test};

TEST_F(MainWindowTest, SilentStartLeavesTheLinkLostState) {
    auto windows = create();
    TestMenuForm& menu = form(*windows);
    EXPECT_EQ(menu.messages.size(), 3);
    for (const MenuEntry pos : {MenuEntry::Work, MenuEntry::Settings})
        EXPECT_FALSE(menu.menuEntry(pos)->isEnabled()) << int(pos);
    for (const MenuEntry pos : {MenuEntry::File, MenuEntry::Port, MenuEntry::Test})
        EXPECT_TRUE(menu.menuEntry(pos)->isEnabled()) << int(pos);
    EXPECT_FALSE(menu.fieldImage()->isEnabled());
    EXPECT_FALSE(menu.findChild<QRadioButton*>("AllDown")->isEnabled());
    EXPECT_FALSE(menu.timer("Timer4").isActive());
}

TEST_F(MainWindowTest, AnsweringStartRunsTheKeepAliveTimer) {
    answerStartUp();
    auto windows = create();
    TestMenuForm& menu = form(*windows);
    EXPECT_TRUE(menu.messages.isEmpty());
    EXPECT_TRUE(menu.timer("Timer4").isActive());
    EXPECT_EQ(menu.timer("Timer4").interval(), 30000);
    for (const MenuEntry pos : kVisibleEntries)
        EXPECT_TRUE(menu.menuEntry(pos)->isEnabled()) << int(pos);
}

TEST_F(MainWindowTest, WorkStateShowsStopOnlyWhileTheRunTimerRuns) {
    auto windows = create();
    TMenuForm& menu = *windows->menuForm;
    menu.program().menus.work(true);
    EXPECT_TRUE(menu.menuEntry(MenuEntry::Stop)->isVisible());
    EXPECT_TRUE(menu.menuEntry(MenuEntry::Stop)->isEnabled());
    for (const MenuEntry pos :
         {MenuEntry::File, MenuEntry::Service, MenuEntry::Work, MenuEntry::Settings,
          MenuEntry::Port, MenuEntry::Placement, MenuEntry::Test})
        EXPECT_FALSE(menu.menuEntry(pos)->isEnabled()) << int(pos);
    EXPECT_TRUE(menu.menuEntry(MenuEntry::Help)->isEnabled());
    menu.program().menus.work(false);
    EXPECT_FALSE(menu.menuEntry(MenuEntry::Stop)->isVisible());
    menu.program().menus.linkUp();
    for (const MenuEntry pos : kVisibleEntries)
        EXPECT_TRUE(menu.menuEntry(pos)->isEnabled()) << int(pos);
    EXPECT_TRUE(menu.fieldImage()->isEnabled());
}

TEST_F(MainWindowTest, PlanSearchIsShownInTheTwoLabelsOfTheSelfTestPanel) {
    auto windows = create();
    TMenuForm& menu = *windows->menuForm;
    menu.setField(Field::Label66, QStringLiteral("17"));
    menu.setField(Field::Label67, QStringLiteral("-1"));
    auto* panel = menu.findChild<QWidget*>(QStringLiteral("SelfTestingPanel"));
    ASSERT_NE(panel, nullptr);
    auto* row = panel->findChild<QLabel*>(QStringLiteral("label66"));
    auto* column = panel->findChild<QLabel*>(QStringLiteral("label67"));
    ASSERT_TRUE(row && column);
    EXPECT_EQ(row->text(), "17");
    EXPECT_EQ(column->text(), "-1");
}

TEST_F(MainWindowTest, UnfinishedJobDialogComesOnlyWithAnAnsweringDevice) {
    QFile file(dir.filePath("ErorFile.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a.bmp\r\n1\r\n2\r\n1\r\n1\r\n1\r\n1\r\n0\r\n1\r\n1\r\n1\r\n1\r\n0\r\n");
    file.close();
    auto silent = create();
    EXPECT_EQ(form(*silent).recoveryAsked, 0);

    answerStartUp();
    auto answering = create();
    EXPECT_EQ(form(*answering).recoveryAsked, 1);
    EXPECT_TRUE(answering->menuForm->timer("CrushTimer").isActive());
}

// The start-up's recovery dialog closed without "Ok", whichever choice it shows: nothing is
// sent, nothing deleted, and the job stays pending for "Тест".
enum class DialogClosed { Escape, IgnoreThenEscape, CloseBox };
class RecoveryDialogClosed : public MainWindowTest,
                             public ::testing::WithParamInterface<DialogClosed> {};

TEST_P(RecoveryDialogClosed, WithoutOkLeavesTheJobPending) {
    const QByteArray job = "a.bmp\r\n1\r\n2\r\n1\r\n1\r\n1\r\n1\r\n0\r\n1\r\n1\r\n1\r\n1\r\n0\r\n";
    QFile file(dir.filePath("ErorFile.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(job);
    file.close();
    answerStartUp();
    qsizetype writtenBeforeTheDialog = -1;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        writtenBeforeTheDialog = line.writtenBytes().size();
        if (GetParam() == DialogClosed::IgnoreThenEscape)
            dialog->findChild<QRadioButton*>("IgnoreButton")->setChecked(true);
        if (GetParam() == DialogClosed::CloseBox)
            dialog->close();
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
    auto windows = createWindows<TMenuForm>(clock, line.factory(), dir.path());
    Program& program = windows->menuForm->program();
    EXPECT_EQ(line.writtenBytes().size(), writtenBeforeTheDialog);
    EXPECT_TRUE(program.unfinishedJob);
    EXPECT_FALSE(program.timers.crush);
    EXPECT_FALSE(program.timers.timer3);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), job);
}

std::string dialogClosedName(const ::testing::TestParamInfo<DialogClosed>& info) {
    switch (info.param) {
    case DialogClosed::Escape:
        return "Escape";
    case DialogClosed::IgnoreThenEscape:
        return "IgnoreThenEscape";
    case DialogClosed::CloseBox:
        return "CloseBox";
    }
    return {};
}

INSTANTIATE_TEST_SUITE_P(, RecoveryDialogClosed,
                         ::testing::Values(DialogClosed::Escape, DialogClosed::IgnoreThenEscape,
                                           DialogClosed::CloseBox),
                         dialogClosedName);

TEST_F(MainWindowTest, AdviceAndAboutBoxesShowTheirTexts) {
    auto windows = create();
    EXPECT_EQ(windows->form4->windowTitle(), "Eror message.");
    EXPECT_EQ(windows->form4->findChild<QLabel*>("Label1")->text(),
              "Произошла неизвестная ошибка.");
    EXPECT_EQ(windows->form4->findChild<QLabel*>("Label7")->text(),
              "4. Выполнить рекомендации программы.");
    TAboutBox about(windows->menuForm->program().texts, {"ZUK_05d7", "Дилер"});
    EXPECT_EQ(about.findChild<QLabel*>("Label8")->text(), "ZUK_05d7");
    EXPECT_EQ(about.findChild<QLabel*>("Label3")->text(), "Дилер");
    EXPECT_EQ(about.findChild<QLabel*>("Label1")->text(), "Гравировальный полуавтомат");
}

TEST_F(MainWindowTest, LanguageFileRenamesCaptionsByFourDigitNumbers) {
    QFile file(dir.filePath("russian.lng"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("windows-1251")
                   .encode(QStringLiteral("10=Не номер\r\n0010=Файлы\r\n0070=Проверка\r\n")));
    file.close();
    auto windows = create();
    const auto caption = [&](MenuEntry entry) {
        return withoutMnemonic(windows->menuForm->menuEntry(entry)->text());
    };
    EXPECT_EQ(caption(MenuEntry::File), "Файлы");
    EXPECT_EQ(caption(MenuEntry::Test), "Проверка");
    EXPECT_EQ(caption(MenuEntry::Work), "Работа");
    // The renamed entries get their mnemonic too.
    EXPECT_TRUE(windows->menuForm->menuEntry(MenuEntry::File)->text().contains('&'));
}

TEST_F(MainWindowTest, StartUpChecksThePortItemOfTheConfiguredName) {
    const auto checkedItems = [](TMenuForm& menu) {
        QStringList checked;
        for (int item = 1; item <= 8; ++item)
            if (menu.findAction(QStringLiteral("Com%1").arg(item) + QLatin1Char('1'))->isChecked())
                checked << QStringLiteral("Com%1").arg(item);
        return checked;
    };
    const auto startWithPort = [&](const QByteArray& portName) {
        QFile ini(dir.filePath("Zuk.ini"));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("Group\r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n"
                  "Ind  \r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n" +
                  portName + "\r\n1930\r\n2330\r\n0\r\n12\r\n8\r\n1\r\n");
        ini.close();
        return create();
    };
    auto com3 = startWithPort("com3");
    EXPECT_EQ(checkedItems(*com3->menuForm), QStringList{"Com3"});
    for (const char* other : {"sim", "/dev/ttyUSB0"}) {
        auto windows = startWithPort(other);
        EXPECT_EQ(checkedItems(*windows->menuForm), QStringList()) << other;
    }
}

TEST_F(MainWindowTest, ClosingWritesTheConfiguration) {
    auto windows = create();
    QFile::remove(dir.filePath("Zuk.ini"));
    windows->menuForm->close();
    EXPECT_TRUE(QFile::exists(dir.filePath("Zuk.ini")));
}

} // namespace
} // namespace zuk::test
