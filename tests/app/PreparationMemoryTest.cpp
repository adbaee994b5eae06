// The last picture preparation is kept from one start of the program to the next in a file of
// its own; Zuk.ini keeps its 17 lines.
#include "app/ProgramFixture.h"

#include "image/PreparationFile.h"

#include <QFile>

namespace zuk::test {
namespace {

using PreparationMemoryTest = ProgramFixture;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST_F(PreparationMemoryTest, TheRememberedPreparationIsReadAtStartUpAndKeptWhenChosen) {
    writeBytes(dir.filePath(kPreparationFileName), "width=100\r\nmirror=h\r\n");
    program.formCreate();
    PreparationChoices expected;
    expected.width = 100;
    expected.mirrorLeftRight = true;
    EXPECT_EQ(program.image.preparation(), expected);
    EXPECT_EQ(screen.messages.filter(QStringLiteral("подготовки")), QStringList{});

    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(120, 60, 30));
    ASSERT_TRUE(picture.save(dir.filePath("a.bmp"), "BMP"));
    PreparationChoices chosen;
    chosen.gamma = 2;
    chosen.invert = true;
    screen.openAnswer = dir.filePath("a.bmp");
    screen.preparationAnswer = chosen;
    program.image.openClick();
    EXPECT_EQ(program.image.preparation(), chosen);
    EXPECT_EQ(bytesOf(dir.filePath(kPreparationFileName)), QByteArray("gamma=2\r\ninvert\r\n"));
    EXPECT_EQ(bytesOf(dir.filePath("Zuk.ini")).count("\r\n"), 17);

    Program next(screen, clock, line.factory(), ProgramDir(dir.path()));
    next.formCreate();
    EXPECT_EQ(next.image.preparation(), chosen);
}

TEST_F(PreparationMemoryTest, ADamagedFileIsReportedOnceAndNothingIsPrepared) {
    writeBytes(dir.filePath(kPreparationFileName), "width=100\r\ngamma=lots\r\n");
    program.formCreate();
    const QStringList reported = screen.messages.filter(QStringLiteral("подготовки рисунка"));
    ASSERT_EQ(reported.size(), 1) << screen.messages.join('|').toStdString();
    EXPECT_TRUE(reported[0].contains(kPreparationFileName));
    EXPECT_TRUE(reported[0].contains(QStringLiteral("строка 2")));
    EXPECT_EQ(program.image.preparation(), PreparationChoices{});
}

} // namespace
} // namespace zuk::test
