// The material profiles' file: a profile saved and read back, the group rule applied, and a
// damaged file or entry reported by name and never written over.
#include "material/MaterialFile.h"

#include "plan/StrikeLevelRules.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

class MaterialFileTest : public ::testing::Test {
protected:
    void write(const QStringList& lines) {
        ASSERT_TRUE(dir.writeLines(kMaterialFileName, lines).ok());
    }
    QStringList lines() const { return dir.readLines(kMaterialFileName).lines; }

    QTemporaryDir temporary;
    ProgramDir dir{temporary.path()};
};

// What the operator set, saved and read back, is what applying it gives; a group keeps its
// "32" and the others follow the trackbar rule, whatever the panel showed before.
TEST_F(MaterialFileTest, ASavedProfileReadsBackAndAppliesAsThePanelsRulesSay) {
    EngravingChoices panel;
    panel.first = {44, 33, 22, 11};
    panel.firstMode = LevelMode::Individual;
    panel.secondMode = LevelMode::Group;
    panel.second = {90, 5, 5, 5}; // as selecting group left it, before "32" moved
    panel.singleSided = true;
    panel.secondPass = true;
    panel.portrait = false;
    PreparationChoices preparation;
    preparation.width = 300;
    preparation.gamma = 1.5;
    preparation.invert = true;
    const MaterialProfile saved = materialOf(QStringLiteral("Гранит чёрный"), panel, preparation);
    EXPECT_EQ(saved.engraving.second, groupLevelsFromTrackbar(90));
    EXPECT_EQ(saved.tone.width, 0) << "the size is the picture's";

    MaterialFile file = MaterialFile::read(dir);
    ASSERT_TRUE(file.save(saved).ok());
    const MaterialFile again = MaterialFile::read(dir);
    EXPECT_TRUE(again.problems().isEmpty());
    ASSERT_EQ(again.find(QStringLiteral("гранит ЧЁРНЫЙ")), saved);

    EngravingChoices applied; // a fresh program: group, 3, 3, 1, 1
    applied.edgeDots = 5;
    applyMaterial(saved, applied);
    EXPECT_EQ(applied.first, panel.first);
    EXPECT_EQ(applied.firstMode, LevelMode::Individual);
    EXPECT_EQ(applied.second, groupLevelsFromTrackbar(90));
    EXPECT_TRUE(applied.singleSided && applied.secondPass && !applied.portrait);
    EXPECT_EQ(applied.edgeDots, 5);
}

// Each damaged entry is reported by its name, left out of the list and kept line for line
// when others are saved or deleted; it is never replaced. A file that is damaged outside any
// entry is not written at all.
TEST_F(MaterialFileTest, DamageIsReportedByNameAndNeverWrittenOver) {
    const QStringList damagedEntries{"[Мрамор]", "gamma=9",   "",        "[Стекло]", "levels=1,2",
                                     "[Сталь]",  "levels=30", "[сталь]", "levels=40"};
    write(QStringList{"; the workshop's materials", "[Гранит]", "levels=120", "text=yes", ""} +
          damagedEntries);
    MaterialFile file = MaterialFile::read(dir);
    EXPECT_EQ(file.names(), (QStringList{"Гранит", "Сталь"}));
    ASSERT_EQ(file.problems().size(), 3);
    for (const char* name : {"\"Мрамор\"", "\"Стекло\"", "\"сталь\""})
        EXPECT_EQ(file.problems().filter(QString::fromUtf8(name)).size(), 1) << name;

    EXPECT_FALSE(file.save({QStringLiteral("мрамор"), {}, {}}).ok());
    EXPECT_FALSE(file.remove(QStringLiteral("Стекло")).ok());
    EXPECT_FALSE(file.save({QStringLiteral("a]b"), {}, {}}).ok());
    ASSERT_TRUE(file.save({QStringLiteral("Сланец"), {}, {}}).ok());
    ASSERT_TRUE(file.remove(QStringLiteral("Гранит")).ok());
    const QStringList kept = lines();
    EXPECT_EQ(kept.front(), "; the workshop's materials");
    EXPECT_EQ(kept.mid(1, damagedEntries.size()), damagedEntries);
    EXPECT_EQ(MaterialFile::read(dir).names(), (QStringList{"Сталь", "Сланец"}));

    write({"levels=120", "[Гранит]"});
    MaterialFile unreadable = MaterialFile::read(dir);
    EXPECT_TRUE(unreadable.names().isEmpty());
    EXPECT_EQ(unreadable.problems().size(), 1);
    EXPECT_FALSE(unreadable.save({QStringLiteral("Гранит"), {}, {}}).ok());
    EXPECT_EQ(lines(), (QStringList{"levels=120", "[Гранит]"}));
}

} // namespace
} // namespace zuk
