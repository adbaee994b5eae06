#include "plan/ui/EngravingPanels.h"
#include "app/Language.h"
#include "app/ui/FieldImage.h"
#include "app/ui/Windows.h"
#include "material/ui/MaterialPanel.h"
#include "plan/ui/PrintReadyPanel.h"
#include "plan/ui/PrintReadyPanel_2.h"
#include "run/ui/AbortPanel.h"
#include "support/ScriptedLine.h"
#include "support/WorkedLevels.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

class PanelMenuForm : public TMenuForm {
public:
    using TMenuForm::TMenuForm;
    void showMessage(MessageKind, const QString& text) override { messages << text; }
    QStringList messages;
};

constexpr Level kLevels[] = {Level::L32, Level::L24, Level::L16, Level::L8};

// The main window after a start-up the device answered, with a picture open.
class EngravingPanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int s = 0; s < 105; ++s)
            line.answer({0xA0 + (s & 15), 0x50 + (s & 15)});
        windows = createWindows<PanelMenuForm>(clock, line.factory(), dir.path());
        line.takeWritten();
        program().image.dotImage().bitmap = QImage(40, 30, QImage::Format_RGB32);
    }
    PanelMenuForm& menu() { return static_cast<PanelMenuForm&>(*windows->menuForm); }
    Program& program() { return menu().program(); }
    EngravingPanels& panels() { return menu().engravingPanels(); }
    LevelControls& controls(LevelSet set) {
        return static_cast<LevelControls&>(panels().levelControls(set));
    }
    QSlider* trackbar(LevelSet set, Level level) { return controls(set).trackbar(level); }
    void move(LevelSet set, Level level, int position) { trackbar(set, level)->setValue(position); }
    StrikeLevels positions(LevelSet set) {
        StrikeLevels shown;
        for (const Level level : kLevels)
            shown = withForce(shown, level, static_cast<quint8>(controls(set).position(level)));
        return shown;
    }
    // The forces the value labels show, "(n)" read back.
    StrikeLevels labelled(LevelSet set) {
        StrikeLevels shown;
        for (const Level level : kLevels) {
            QString text = controls(set).valueLabel(level)->text();
            EXPECT_TRUE(text.startsWith('(') && text.endsWith(')')) << text.toStdString();
            shown = withForce(shown, level, static_cast<quint8>(text.mid(1).chopped(1).toInt()));
        }
        return shown;
    }
    bool dependentsEnabled(LevelSet set) {
        const bool enabled = trackbar(set, Level::L24)->isEnabled();
        for (const Level level : {Level::L16, Level::L8}) {
            EXPECT_EQ(trackbar(set, level)->isEnabled(), enabled);
            EXPECT_EQ(controls(set).valueLabel(level)->isEnabled(), enabled);
        }
        return enabled;
    }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
    std::unique_ptr<Windows> windows;
};

TEST_F(EngravingPanelsTest, EngravingWithoutAPictureOnlyAsksForOne) {
    program().image.dotImage().bitmap = QImage();
    menu().Print1Click();
    ASSERT_EQ(menu().messages.size(), 1);
    EXPECT_TRUE(menu().messages[0].contains("Откройте рисунок"));
    EXPECT_FALSE(panels().printReadyPanel().isVisibleTo(&menu()));
    EXPECT_TRUE(menu().menuEntry(MenuEntry::Work)->isEnabled());
    EXPECT_TRUE(line.takeWritten().isEmpty());
}

TEST_F(EngravingPanelsTest, OpeningLoadsAllSixteenTrackbarsFromTheStoreInTheirOrder) {
    EngravingChoices& choices = program().choices;
    // Group mode: the "32" of 30 moves its trackbar first and re-derives the three stored
    // nonsense values before they are loaded.
    choices.firstMode = LevelMode::Group;
    choices.first = {30, 99, 99, 99};
    // Individual mode: every force as stored, also the "24" already at its designed position.
    choices.secondMode = LevelMode::Individual;
    choices.second = {100, 3, 40, 30};
    choices.portrait = false;

    menu().Print1Click();

    EXPECT_EQ(choices.first, (StrikeLevels{30, 20, 10, 2}));
    EXPECT_EQ(choices.second, (StrikeLevels{100, 3, 40, 30}));
    for (const LevelSet set : {LevelSet::PrintReady, LevelSet::AbortWork1}) {
        EXPECT_EQ(positions(set), choices.first);
        EXPECT_EQ(labelled(set), choices.first);
    }
    for (const LevelSet set : {LevelSet::PrintReady2, LevelSet::AbortWork2}) {
        EXPECT_EQ(positions(set), choices.second);
        EXPECT_EQ(labelled(set), choices.second);
    }
    EXPECT_FALSE(dependentsEnabled(LevelSet::PrintReady));
    EXPECT_TRUE(dependentsEnabled(LevelSet::PrintReady2));
    EXPECT_TRUE(controls(LevelSet::PrintReady2).individualButton()->isChecked());
    EXPECT_TRUE(panels().printReadyPanel().textButton()->isChecked());

    EXPECT_TRUE(panels().printReadyPanel().isVisibleTo(&menu()));
    EXPECT_FALSE(panels().printReadyPanel2().isVisibleTo(&menu()));
    for (const MenuEntry entry :
         {MenuEntry::File, MenuEntry::Service, MenuEntry::Work, MenuEntry::Settings,
          MenuEntry::Port, MenuEntry::Placement, MenuEntry::Test})
        EXPECT_FALSE(menu().menuEntry(entry)->isEnabled()) << int(entry);
    EXPECT_FALSE(menu().menuEntry(MenuEntry::Stop)->isVisible());
    EXPECT_TRUE(line.takeWritten().isEmpty());
}

TEST_F(EngravingPanelsTest, TheStrongestTrackbarDrivesTheOthersInGroupModeOnEveryPanel) {
    menu().Print1Click();
    panels().abortPanel().checkFirstGroup(true);
    panels().abortPanel().checkSecondGroup(true);
    const auto& choices = program().choices;
    for (const auto& [set, forces] : {std::pair{LevelSet::PrintReady, &choices.first},
                                      std::pair{LevelSet::PrintReady2, &choices.second},
                                      std::pair{LevelSet::AbortWork1, &choices.first},
                                      std::pair{LevelSet::AbortWork2, &choices.second}}) {
        for (const WorkedLevels& row : kWorkedLevels) {
            SCOPED_TRACE(testing::Message() << "set " << int(set) << ", F " << row.f);
            move(set, Level::L32, row.f == 50 ? 51 : 50);
            move(set, Level::L32, row.f);
            EXPECT_EQ(*forces, row.trackbarRule);
            EXPECT_EQ(positions(set), row.trackbarRule);
            EXPECT_EQ(labelled(set), row.trackbarRule);
        }
    }
}

TEST_F(EngravingPanelsTest, SelectingGroupModeOnAPropertiesPanelDerivesByItsOwnRule) {
    menu().Print1Click();
    const auto& choices = program().choices;
    for (const auto& [set, forces] : {std::pair{LevelSet::PrintReady, &choices.first},
                                      std::pair{LevelSet::PrintReady2, &choices.second}}) {
        for (const WorkedLevels& row : kWorkedLevels) {
            SCOPED_TRACE(testing::Message() << "set " << int(set) << ", F " << row.f);
            controls(set).individualButton()->click();
            EXPECT_TRUE(dependentsEnabled(set));
            move(set, Level::L32, row.f);
            controls(set).groupButton()->click();
            EXPECT_EQ(*forces, row.selectionRule);
            EXPECT_EQ(positions(set), row.selectionRule);
            EXPECT_EQ(labelled(set), row.selectionRule);
            EXPECT_FALSE(dependentsEnabled(set));
        }
    }
    EXPECT_EQ(choices.firstMode, LevelMode::Group);
    EXPECT_EQ(choices.secondMode, LevelMode::Group);
}

TEST_F(EngravingPanelsTest, IndividualModeMovesOneForceAndIsSavedWithTheConfiguration) {
    // Loading "32" = 14 in group mode re-derives "16" = 14 − 2·4 and "8" = 14 div 11.
    program().choices.first = {14, 10, 5, 2};
    menu().Print1Click();
    EXPECT_EQ(program().choices.first, (StrikeLevels{14, 10, 6, 1}));
    controls(LevelSet::PrintReady).individualButton()->click();
    move(LevelSet::PrintReady, Level::L32, 77);
    move(LevelSet::PrintReady, Level::L16, 12);
    EXPECT_EQ(program().choices.first, (StrikeLevels{77, 10, 12, 1}));
    EXPECT_EQ(program().choices.firstMode, LevelMode::Individual);
    program().settings.writeDefaults = false; // as "Работа" clears it before saving
    EXPECT_EQ(configurationLines(program().settings, program().choices).at(0), "Ind  ");
}

TEST_F(EngravingPanelsTest, AbortPanelModeButtonsOnlyEnableAndDisable) {
    program().choices.firstMode = LevelMode::Individual;
    program().choices.first = {100, 5, 5, 5};
    menu().Print1Click();
    AbortPanel& abort = panels().abortPanel();
    EXPECT_TRUE(controls(LevelSet::AbortWork1).individualButton()->isChecked());
    abort.checkFirstGroup(true);
    EXPECT_FALSE(dependentsEnabled(LevelSet::AbortWork1));
    EXPECT_EQ(program().choices.first, (StrikeLevels{100, 5, 5, 5}));
    abort.checkFirstGroup(false);
    EXPECT_TRUE(dependentsEnabled(LevelSet::AbortWork1));
    move(LevelSet::AbortWork1, Level::L8, 7);
    EXPECT_EQ(program().choices.first, (StrikeLevels{100, 5, 5, 7}));
    EXPECT_EQ(program().choices.firstMode, LevelMode::Individual);
}

TEST_F(EngravingPanelsTest, QualityChecksItsMirrorAndTheHiddenMenuItemsWithCaptionColours) {
    menu().Print1Click();
    const QualityButtons& first = panels().printReadyPanel().qualityButtons();
    const QualityButtons& mirror = panels().printReadyPanel2().qualityButtons();
    EXPECT_FALSE(mirror.high->isEnabled());
    EXPECT_FALSE(mirror.standard->isEnabled());
    QAction* qual1 = menu().findAction("Qual1");
    QAction* qual2 = menu().findAction("Qual2");
    const QColor highlight = first.high->palette().color(QPalette::Highlight);

    first.high->click();
    EXPECT_TRUE(program().choices.singleSided);
    EXPECT_TRUE(mirror.high->isChecked());
    EXPECT_FALSE(mirror.standard->isChecked());
    EXPECT_TRUE(qual1->isChecked());
    EXPECT_FALSE(qual2->isChecked());
    EXPECT_EQ(first.high->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(first.standard->palette().color(QPalette::WindowText), highlight);

    first.standard->click();
    EXPECT_FALSE(program().choices.singleSided);
    EXPECT_TRUE(mirror.standard->isChecked());
    EXPECT_TRUE(qual2->isChecked());
    EXPECT_FALSE(qual1->isChecked());
    EXPECT_EQ(first.standard->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(first.high->palette().color(QPalette::WindowText), highlight);

    // The hidden items set only their own states and the quality the plan is built with.
    qual1->trigger();
    EXPECT_TRUE(program().choices.singleSided);
    EXPECT_TRUE(first.standard->isChecked());
}

TEST_F(EngravingPanelsTest, SecondPassBoxShowsTheSecondPanelAndSetsTheFlag) {
    program().choices.secondMode = LevelMode::Individual;
    program().choices.second = {40, 30, 20, 10};
    menu().Print1Click();
    QCheckBox* box = panels().printReadyPanel().secondWork();
    box->click();
    EXPECT_TRUE(program().choices.secondPass);
    EXPECT_TRUE(panels().printReadyPanel2().isVisibleTo(&menu()));
    EXPECT_EQ(panels().printReadyPanel2().y(), panels().printReadyPanel().y());
    box->click();
    EXPECT_FALSE(program().choices.secondPass);
    EXPECT_FALSE(panels().printReadyPanel2().isVisibleTo(&menu()));
    EXPECT_EQ(program().choices.second, (StrikeLevels{40, 30, 20, 10}));

    // A double-pass job whose second pass has begun leaves the choice as it was: the box,
    // still checked, makes the next job a double-pass job again.
    box->click();
    menu().BitBtn1Click();
    program().job.choices.secondPass = true;
    program().job.secondPassRunning = true;
    menu().Print1Click();
    EXPECT_TRUE(program().choices.secondPass);
    EXPECT_TRUE(panels().printReadyPanel2().isVisibleTo(&menu()));
}

TEST_F(EngravingPanelsTest, TextOrPortraitSetsThePortraitMode) {
    menu().Print1Click();
    panels().printReadyPanel().textButton()->click();
    EXPECT_FALSE(program().choices.portrait);
    EXPECT_FALSE(panels().printReadyPanel().portraitButton()->isChecked());
    panels().printReadyPanel().portraitButton()->click();
    EXPECT_TRUE(program().choices.portrait);
}

TEST_F(EngravingPanelsTest, CancelOnEitherPanelHidesBothKeepsTheForcesAndSendsNothing) {
    for (QPushButton* cancel :
         {panels().printReadyPanel().cancelButton(), panels().printReadyPanel2().cancelButton()}) {
        menu().Print1Click();
        panels().printReadyPanel().secondWork()->setChecked(false);
        panels().printReadyPanel().secondWork()->click();
        move(LevelSet::PrintReady, Level::L32, 60);
        move(LevelSet::PrintReady2, Level::L32, 90);
        cancel->click();
        EXPECT_FALSE(panels().printReadyPanel().isVisibleTo(&menu()));
        EXPECT_FALSE(panels().printReadyPanel2().isVisibleTo(&menu()));
        EXPECT_EQ(program().choices.first, (StrikeLevels{60, 40, 20, 5}));
        EXPECT_EQ(program().choices.second, (StrikeLevels{90, 60, 30, 8}));
        for (const MenuEntry entry : {MenuEntry::File, MenuEntry::Work, MenuEntry::Settings,
                                      MenuEntry::Port, MenuEntry::Test})
            EXPECT_TRUE(menu().menuEntry(entry)->isEnabled()) << int(entry);
        EXPECT_TRUE(menu().fieldImage()->isEnabled());
        EXPECT_TRUE(line.takeWritten().isEmpty());
    }
}

TEST_F(EngravingPanelsTest, PanelsOpenAtTheVisibleTopLeftOfTheScrolledPicture) {
    menu().show();
    menu().showFieldView(QImage(3000, 3000, QImage::Format_RGB32));
    QCoreApplication::processEvents();
    QScrollArea* box = menu().scrollBox1();
    box->horizontalScrollBar()->setValue(400);
    box->verticalScrollBar()->setValue(300);
    ASSERT_EQ(box->horizontalScrollBar()->value(), 400);
    menu().Print1Click();
    const QPoint visible = box->viewport()->mapTo(box, QPoint(0, 0));
    EXPECT_EQ(panels().printReadyPanel().pos(), visible + QPoint(5, 5));
    EXPECT_EQ(panels().printReadyPanel2().y(), visible.y() + 5);
    EXPECT_GE(panels().printReadyPanel2().x(), visible.x() + 250);
    EXPECT_GE(panels().printReadyPanel2().x(), panels().printReadyPanel().geometry().right() + 1);
}

TEST_F(EngravingPanelsTest, TheLanguageFileRenamesThePanelsCaptions) {
    QFile file(dir.filePath("english.lng"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0131=Properties\r\n0231=Quality\r\n0331=High\r\n0631=Group\r\n0831=Twice\r\n"
               "0931=Cancel\r\n1031=Work\r\n1131=Brightness\r\n1331=Second pass\r\n"
               "0091=Stopped\r\n0092=First pass\r\n0094=Group set\r\n0096=Go on\r\n"
               "0097=Finish\r\n0000=Takes:\r\n");
    file.close();
    windows.reset();
    windows = createWindows<PanelMenuForm>(clock, line.factory(), dir.path());
    PrintReadyPanel& first = panels().printReadyPanel();
    PrintReadyPanel_2& second = panels().printReadyPanel2();
    AbortPanel& abort = panels().abortPanel();
    const auto text = [](QObject* parent, const char* name) {
        auto* widget = parent->findChild<QWidget*>(name);
        return widget ? widget->property("text").toString() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(text(&first, "Label5"), "Properties");
    EXPECT_EQ(text(&first, "Label6"), "Quality");
    EXPECT_EQ(text(&second, "Label31"), "Quality");
    EXPECT_EQ(text(&second, "RadioButton5"), "High");
    EXPECT_EQ(text(&second, "GroupRadBut_2"), "Group");
    EXPECT_EQ(text(&first, "SecondWork"), "Twice");
    EXPECT_EQ(text(&second, "BitBtn2"), "Cancel");
    EXPECT_EQ(text(&first, "Button17"), "Work");
    EXPECT_EQ(text(&second, "Label22"), "Brightness");
    EXPECT_EQ(text(&second, "Label19"), "Second pass");
    EXPECT_EQ(text(&abort, "Label56"), "Stopped");
    EXPECT_EQ(text(&abort, "Label57"), "First pass");
    EXPECT_EQ(text(&abort, "RadioButton7"), "Group set");
    EXPECT_EQ(text(&abort, "Button27"), "Go on");
    EXPECT_EQ(text(&abort, "Button31"), "Finish");

    // Every caption of these panels and of the status bar in the language table has its
    // control in the main window.
    Texts all;
    all.setLanguageLoaded(true);
    for (const LanguageCaption& caption : languageCaptions())
        all.setLanguageText(caption.number, QStringLiteral("x"));
    const QStringList notFound = applyLanguageCaptions(all, LanguageWindow::Main, &menu());
    for (const char* name :
         {"Label5",        "Label6",       "Label31",      "RadioButton1",  "RadioButton5",
          "RadioButton2",  "RadioButton6", "Label17",      "Label30",       "GroupRadBut",
          "GroupRadBut_2", "IndRadBut",    "IndRadBut_2",  "SecondWork",    "BitBtn1",
          "BitBtn2",       "Button17",     "Button19",     "Label9",        "Label22",
          "Label7",        "Label20",      "Label19",      "RadioButton10", "RadioButton9",
          "Label45",       "Label56",      "Label57",      "Label58",       "RadioButton3",
          "RadioButton7",  "RadioButton4", "RadioButton8", "Button27",      "Button30",
          "Button28",      "Button31",     "Label35",      "Label37"})
        EXPECT_FALSE(notFound.contains(QLatin1String(name))) << name;
}

TEST_F(EngravingPanelsTest, TheStatusBarShowsTheJobTimes) {
    menu().setJobTimes("Время завершения работы: 11:00:00", "Длительность работы: 02:00:00");
    EXPECT_EQ(menu().findChild<QLabel*>("Label35")->text(), "Время завершения работы: 11:00:00");
    EXPECT_EQ(menu().findChild<QLabel*>("Label37")->text(), "Длительность работы: 02:00:00");
}

// A material chosen on the panel: its forces through the level rules (a group's "32" derives
// the others), its quality, second pass and text mode shown; a damaged entry reported once.
TEST_F(EngravingPanelsTest, AChosenMaterialFillsThePanelsAsTheOperatorsMovesWould) {
    ASSERT_TRUE(
        ProgramDir(dir.path())
            .writeLines("Materials.ini",
                        {"[Гранит]", "levels=30", "second-levels=100,3,40,30", "mode=single",
                         "second-pass=yes", "text=yes", "[Мрамор]", "gamma=9"})
            .ok());
    menu().Print1Click();
    auto* material = panels().printReadyPanel().findChild<MaterialPanel*>();
    ASSERT_NE(material, nullptr);
    material->refresh();
    material->refresh();
    EXPECT_EQ(menu().messages.filter("\"Мрамор\"").size(), 1);
    ASSERT_EQ(material->box()->count(), 1);
    emit material->box()->activated(0);

    EXPECT_EQ(positions(LevelSet::PrintReady), (StrikeLevels{30, 20, 10, 2}));
    EXPECT_EQ(labelled(LevelSet::PrintReady), (StrikeLevels{30, 20, 10, 2}));
    EXPECT_FALSE(dependentsEnabled(LevelSet::PrintReady));
    EXPECT_EQ(positions(LevelSet::PrintReady2), (StrikeLevels{100, 3, 40, 30}));
    EXPECT_TRUE(controls(LevelSet::PrintReady2).individualButton()->isChecked());
    EXPECT_TRUE(panels().printReadyPanel().secondWork()->isChecked());
    EXPECT_TRUE(panels().printReadyPanel2().isVisibleTo(&menu()));
    EXPECT_TRUE(panels().printReadyPanel().textButton()->isChecked());
    EXPECT_TRUE(panels().printReadyPanel().qualityButtons().high->isChecked());
    EXPECT_TRUE(program().choices.singleSided && program().choices.secondPass);
}

} // namespace
} // namespace zuk::test
