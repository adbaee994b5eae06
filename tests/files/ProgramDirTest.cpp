#include "TempProgramDir.h"

#include <QDir>

namespace zuk {
namespace {

using test::TempProgramDir;

TEST(ProgramDir, FindsAFileWhateverTheCaseOfItsName) {
    TempProgramDir temp;
    temp.put("ErorFile.Txt", "x");
    temp.put("123Sec.txt", "y");

    EXPECT_TRUE(temp.dir().exists("ErorFile.txt"));
    EXPECT_TRUE(temp.dir().exists("erorfile.TXT"));
    EXPECT_EQ(temp.dir().path("ErorFile.txt"), temp.filePath("ErorFile.Txt"));
    EXPECT_EQ(temp.dir().path("123sec.txt"), temp.filePath("123Sec.txt"));
    EXPECT_EQ(temp.dir().readLines("erorfile.txt").lines, QStringList{"x"});
}

TEST(ProgramDir, PrefersTheExactNameAndNamesAMissingFileAsGiven) {
    TempProgramDir temp;
    temp.put("zuk.ini", "lower");
    temp.put("Zuk.ini", "exact");

    EXPECT_EQ(temp.dir().path("Zuk.ini"), temp.filePath("Zuk.ini"));
    EXPECT_EQ(temp.dir().path("ZUK.INI"), temp.filePath("Zuk.ini")); // 'Z' sorts before 'z'
    EXPECT_EQ(temp.dir().path("1.txt"), temp.dir().directory() + "/1.txt");
    EXPECT_FALSE(temp.dir().exists("1.txt"));
}

TEST(ProgramDir, DirectoriesAreNotFiles) {
    TempProgramDir temp;
    ASSERT_TRUE(QDir(temp.dir().directory()).mkdir("a.lng"));
    temp.put("b.lng", "");

    EXPECT_FALSE(temp.dir().exists("A.LNG"));
    EXPECT_EQ(temp.dir().findFirst("*.lng"), "b.lng");
}

TEST(ProgramDir, RemoveTakesEveryCaseOfTheNameAndAcceptsAMissingFile) {
    TempProgramDir temp;
    temp.put("ErorFile.txt", "a");
    temp.put("ErorFile.Txt", "b");

    EXPECT_TRUE(temp.dir().remove("ERORFILE.TXT").ok());
    EXPECT_FALSE(temp.dir().exists("ErorFile.txt"));
    EXPECT_TRUE(temp.dir().remove("ErorFile.txt").ok());
}

TEST(ProgramDir, RenameReplacesTheTargetUnderAnyCase) {
    TempProgramDir temp;
    temp.put("1.txt", "new");
    temp.put("123sec.txt", "old");

    ASSERT_TRUE(temp.dir().rename("1.txt", "123Sec.txt").ok());
    EXPECT_FALSE(temp.has("1.txt"));
    EXPECT_FALSE(temp.has("123sec.txt"));
    EXPECT_EQ(temp.bytes("123Sec.txt"), "new");
    EXPECT_FALSE(temp.dir().rename("1.txt", "2.txt").ok());
}

TEST(ProgramDir, FindFirstMatchesIgnoringCaseInNameOrder) {
    TempProgramDir temp;
    EXPECT_EQ(temp.dir().findFirst("*.lng"), QString());
    temp.put("rus.lng", "");
    temp.put("Eng.LNG", "");
    temp.put("a.txt", "");
    temp.put(".hidden.lng", "");

    EXPECT_EQ(temp.dir().findFirst("*.lng"), ".hidden.lng");
    ASSERT_TRUE(temp.dir().remove(".hidden.lng").ok());
    EXPECT_EQ(temp.dir().findFirst("*.lng"), "Eng.LNG");
}

TEST(ProgramDir, ReadsWindows1251WithAnyLineEnd) {
    TempProgramDir temp;
    // "Гравировка" in Windows-1251, then an LF-only line, then a last line without an end.
    temp.put("t.txt", "\xC3\xF0\xE0\xE2\xE8\xF0\xEE\xE2\xEA\xE0\r\nsecond\n\r\nlast");

    const TextFile file = temp.dir().readLines("t.txt");
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.lines, (QStringList{"Гравировка", "second", "", "last"}));
    EXPECT_EQ(temp.dir().readLines("t.txt", 2).lines, (QStringList{"Гравировка", "second"}));

    const TextFile none = temp.dir().readLines("none.txt");
    EXPECT_TRUE(none.missing);
    EXPECT_TRUE(none.error.isEmpty());
}

TEST(ProgramDir, WritesWindows1251WithCrLf) {
    TempProgramDir temp;
    for (WriteMode mode : {WriteMode::Replace, WriteMode::Direct}) {
        ASSERT_TRUE(temp.dir().writeLines("t.txt", {"Ёж", "", "end"}, mode).ok());
        EXPECT_EQ(temp.bytes("t.txt"), QByteArray("\xA8\xE6\r\n\r\nend\r\n"));
    }
}

TEST(ProgramDir, RefusesWhatTheFileCannotHoldAndKeepsTheOldFile) {
    TempProgramDir temp;
    temp.put("t.txt", "old\r\n");

    const FileResult notInCodePage = temp.dir().writeLines("t.txt", {"ok", "日本"});
    EXPECT_FALSE(notInCodePage.ok());
    EXPECT_TRUE(notInCodePage.error.contains("Windows-1251"));
    EXPECT_FALSE(temp.dir().writeLines("t.txt", {"two\nlines"}).ok());
    EXPECT_EQ(temp.bytes("t.txt"), "old\r\n");
}

TEST(ProgramDir, ReportsAFileThatCannotBeWritten) {
    TempProgramDir temp;
    ASSERT_TRUE(QDir(temp.dir().directory()).mkdir("Zuk.ini"));
    for (WriteMode mode : {WriteMode::Replace, WriteMode::Direct}) {
        const FileResult result = temp.dir().writeLines("Zuk.ini", {"Group"}, mode);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.error.contains("Zuk.ini")) << result.error.toStdString();
    }
    const ProgramDir gone(temp.dir().directory() + "/no/such/dir");
    EXPECT_FALSE(gone.writeLines("a.txt", {"x"}).ok());
}

} // namespace
} // namespace zuk
