#include "PictureScreen.h"
#include "ReferenceConversion.h"
#include "TestPictures.h"

#include "image/ImagePreparation.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

using test::eventsOf;
using test::PictureScreen;

class OpenSequenceTest : public ::testing::Test {
protected:
    OpenSequenceTest() {
        links.linkActive = [this] { return linkActive; };
        links.setStepTime = [this] { ++stepTimeCalls; };
        links.savedPlacement = [this] { return saved; };
        links.pictureOpened = [this] { ++openedCalls; };
        links.resetPlanPosition = [this] { ++planResets; };
        links.resolutionChosen = [this](int line) { chosenLines.push_back(line); };
        // The program keeps the density line chosen last.
        links.resolution = [this] { return chosenLines.empty() ? 0 : chosenLines.back(); };
        links.preparationChosen = [this](const PreparationChoices& choices) {
            remembered.push_back(choices);
        };
        prep.emplace(screen, texts, links);
        prep->setFieldSize(QSize(400, 300));
        prep->buildToneTables();
        prep->buildPatternTable();
    }

    QString writePicture(const QString& name, const QImage& image) {
        const QString path = dir.filePath(name);
        test::saveBmp(image, path);
        return path;
    }
    // Scripts one open of `path` and runs it.
    void open(std::optional<ConversionVariant> variant, const QString& path,
              ResolutionChoice choice = {0, 5}) {
        screen.conversionAnswer = variant;
        screen.openAnswer = path;
        screen.resolutionAnswer = choice;
        prep->openClick();
    }

    QTemporaryDir dir;
    PictureScreen screen;
    Texts texts;
    ImageLinks links;
    bool linkActive = true;
    int stepTimeCalls = 0;
    int openedCalls = 0;
    int planResets = 0;
    std::optional<QPoint> saved;
    std::vector<int> chosenLines;
    std::vector<PreparationChoices> remembered;
    std::optional<ImagePreparation> prep;
};

TEST_F(OpenSequenceTest, OpeningAPictureRunsTheWholeSequence) {
    const QImage image = test::randomPicture(40, 30, 11);
    const QString path = writePicture(QStringLiteral("first.bmp"), image);
    open(ConversionVariant::Simple, path, {2, 3});

    EXPECT_EQ(eventsOf(screen, "ask"), (QStringList{"conversion variant", "picture to open",
                                                    "preparation", "resolution and placement"}));
    EXPECT_TRUE(screen.messages.isEmpty());
    EXPECT_FALSE(prep->combinedVariant());
    EXPECT_EQ(screen.captions, (QStringList{QStringLiteral("ZUK-5.5 "), pictureCaption(2, path)}));
    EXPECT_EQ(eventsOf(screen, "status"),
              (QStringList{"Загрузка файла", "Подготовка данных", "Преобразование изображения",
                           "Перенос данных", "Изображение готово"}));
    EXPECT_EQ(screen.gaugeProgress, 0);
    EXPECT_EQ(screen.gaugeMaximum, 30);
    EXPECT_EQ(prep->picture().fileName, path);
    EXPECT_EQ(prep->resolution(), 2);
    EXPECT_EQ(chosenLines, std::vector{2});
    EXPECT_EQ(prep->placement().marks, marksOfButton(3));
    EXPECT_EQ(openedCalls, 1);
    EXPECT_EQ(planResets, 1);
    // The view scrolls to the picture where it was placed.
    EXPECT_EQ(eventsOf(screen, "scroll"), QStringList{QStringLiteral("%1, %2, 40 x 30")
                                                          .arg(prep->placement().offset.x())
                                                          .arg(prep->placement().offset.y())});
    EXPECT_EQ(stepTimeCalls, 1);
    EXPECT_EQ(screen.viewsShown, 1);

    // The converted picture is on the view at the right edge of the field in dots of line 2,
    // measured on the view (the 400-pixel field plus its 10-pixel strip).
    const int ox = fieldInDots(410, 2) - 40;
    EXPECT_EQ(prep->placement().offset, QPoint(ox, 0));
    EXPECT_EQ(screen.fieldView.pixel(ox + 5, 28), prep->dotImage().bitmap.pixel(5, 28));

    auto reference = test::referencePatterns();
    EXPECT_EQ(test::redChannel(prep->dotImage().bitmap),
              test::referenceConvert(test::redChannel(image), 40, 30, ConversionVariant::Simple,
                                     reference));
}

TEST_F(OpenSequenceTest, CombinedVariantReportsTheTransferToo) {
    open(ConversionVariant::Combined, writePicture("c.bmp", test::uniformPicture(8, 8, 60)));
    EXPECT_TRUE(prep->combinedVariant());
    EXPECT_TRUE(eventsOf(screen, "status").contains(QStringLiteral("Перенос данных")));
    EXPECT_FALSE(eventsOf(screen, "status").contains(QStringLiteral("Найдено устройство ")));
}

TEST_F(OpenSequenceTest, ReplacedStatusTextsAreShown) {
    texts.setStatus(StatusText::PictureReady, QStringLiteral("Ready"));
    open(ConversionVariant::Combined, writePicture("c.bmp", test::uniformPicture(8, 8, 60)));
    EXPECT_EQ(eventsOf(screen, "status").back(), QStringLiteral("Ready"));
}

TEST_F(OpenSequenceTest, ClosingTheVariantDialogKeepsTheVariant) {
    prep->setCombinedVariant(true);
    open(std::nullopt, writePicture("a.bmp", test::uniformPicture(4, 4, 90)));
    EXPECT_TRUE(prep->combinedVariant());
    open(ConversionVariant::Simple, writePicture("b.bmp", test::uniformPicture(4, 4, 90)));
    open(std::nullopt, writePicture("c.bmp", test::uniformPicture(4, 4, 90)));
    EXPECT_FALSE(prep->combinedVariant());
}

TEST_F(OpenSequenceTest, NoSetStepTimeWhileTheLinkIsDown) {
    linkActive = false;
    open(ConversionVariant::Combined, writePicture("a.bmp", test::uniformPicture(4, 4, 90)));
    EXPECT_EQ(stepTimeCalls, 0);
    EXPECT_EQ(screen.viewsShown, 1);
}

TEST_F(OpenSequenceTest, ADamagedFileLeavesThePreviousPictureIntact) {
    const QString good = writePicture("good.bmp", test::randomPicture(20, 10, 3));
    open(ConversionVariant::Combined, good, {1, 7});
    const QImage before = prep->dotImage().bitmap;
    const std::vector<int> grays(prep->dotImage().gray.row(0),
                                 prep->dotImage().gray.row(0) + 14 * 24);
    const double firstDot = prep->dotImage().dots.at(1, 2);
    const Placement placementBefore = prep->placement();
    const PatternPositions positionsBefore = prep->tables().positions;
    screen.forget();

    QFile bad(dir.filePath(QStringLiteral("bad.bmp")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM this header is far too short");
    bad.close();
    screen.conversionAnswer = ConversionVariant::Simple;
    screen.openAnswer = bad.fileName();
    prep->openClick();

    ASSERT_EQ(screen.messages.size(), 1);
    EXPECT_TRUE(screen.messages[0].contains(QStringLiteral("bad.bmp")));
    EXPECT_TRUE(screen.messages[0].contains(QStringLiteral("заголовок рисунка повреждён")));
    EXPECT_EQ(screen.messageKinds, std::vector{MessageKind::Warning});
    EXPECT_TRUE(eventsOf(screen, "scroll").isEmpty());
    EXPECT_EQ(eventsOf(screen, "ask"), (QStringList{"conversion variant", "picture to open"}));
    EXPECT_TRUE(screen.captions.isEmpty());
    EXPECT_TRUE(eventsOf(screen, "status").isEmpty());
    EXPECT_EQ(screen.viewsShown, 0);
    EXPECT_EQ(prep->picture().fileName, good);
    EXPECT_EQ(prep->dotImage().bitmap, before);
    EXPECT_EQ(
        std::vector<int>(prep->dotImage().gray.row(0), prep->dotImage().gray.row(0) + 14 * 24),
        grays);
    EXPECT_EQ(prep->dotImage().dots.at(1, 2), firstDot);
    EXPECT_EQ(prep->placement().offset, placementBefore.offset);
    EXPECT_EQ(prep->resolution(), 1);
    EXPECT_EQ(prep->tables().positions, positionsBefore);
    EXPECT_EQ(stepTimeCalls, 1);
    EXPECT_EQ(openedCalls, 1);
}

TEST_F(OpenSequenceTest, CancellingTheFileDialogConvertsTheDotsShownAgain) {
    const QImage image = test::randomPicture(16, 12, 8);
    open(ConversionVariant::Combined, writePicture("a.bmp", image));
    const QImage converted = prep->dotImage().bitmap;
    screen.forget();

    screen.conversionAnswer = ConversionVariant::Combined;
    screen.openAnswer = QString();
    prep->openClick();

    EXPECT_EQ(eventsOf(screen, "ask"), (QStringList{"conversion variant", "picture to open"}));
    EXPECT_TRUE(screen.captions.isEmpty());
    EXPECT_EQ(screen.viewsShown, 1);
    EXPECT_EQ(stepTimeCalls, 2);
    EXPECT_EQ(planResets, 2);
    EXPECT_EQ(openedCalls, 1);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(prep->dotImage().gray.at(y + 1, x + 1), qRed(converted.pixel(x, y)));
    // The picture as read is still held as it was.
    EXPECT_EQ(test::redChannel(prep->picture().source), test::redChannel(image));
}

TEST_F(OpenSequenceTest, WithNoPictureHeldACancelledOrMissingOpenChangesNothing) {
    const int rowsBefore = prep->dotImage().gray.rows();
    for (const QString& answer : {QString(), dir.filePath(QStringLiteral("nowhere.bmp"))}) {
        screen.forget();
        screen.conversionAnswer = ConversionVariant::Simple;
        screen.openAnswer = answer;
        prep->openClick();
        EXPECT_TRUE(screen.messages.isEmpty());
        EXPECT_EQ(eventsOf(screen, "ask"), (QStringList{"conversion variant", "picture to open"}));
        EXPECT_TRUE(eventsOf(screen, "status").isEmpty())
            << eventsOf(screen, "status").join(", ").toStdString();
        EXPECT_EQ(screen.viewsShown, 0);
        EXPECT_TRUE(eventsOf(screen, "scroll").isEmpty());
    }
    EXPECT_EQ(prep->dotImage().gray.rows(), rowsBefore);
    EXPECT_EQ(planResets, 0);
    EXPECT_EQ(stepTimeCalls, 0);
}

TEST_F(OpenSequenceTest, TheUnfinishedJobsPlacementOverridesTheMarks) {
    saved = QPoint(12, 34);
    open(ConversionVariant::Simple, writePicture("a.bmp", test::uniformPicture(10, 10, 255)),
         {0, 9});
    EXPECT_EQ(prep->placement().offset, QPoint(12, 34));
    EXPECT_EQ(qRed(screen.fieldView.pixel(15, 38)), 255);
}

TEST_F(OpenSequenceTest, SaveWritesTheConvertedPictureUnderTheNameEntered) {
    open(ConversionVariant::Combined, writePicture("a.bmp", test::randomPicture(9, 7, 2)));
    const QString name = dir.filePath(QStringLiteral("result"));
    screen.saveAnswer = name;
    prep->save1Click();
    EXPECT_TRUE(screen.messages.isEmpty());
    const PictureFile written = readPictureFile(name);
    ASSERT_TRUE(written.ok()) << written.error.toStdString();
    EXPECT_EQ(written.image, prep->dotImage().bitmap);
    for (int red : test::redChannel(written.image))
        EXPECT_TRUE(red == 0 || red == 64 || red == 128 || red == 192 || red == 255);

    screen.saveAnswer = QString(); // cancelled
    prep->save1Click();
    EXPECT_TRUE(screen.messages.isEmpty());
}

TEST_F(OpenSequenceTest, SaveWithoutAPictureSaysSo) {
    prep->save1Click();
    EXPECT_EQ(screen.messages, QStringList{"Нет рисунка для сохранения."});
    EXPECT_EQ(screen.messageKinds, std::vector{MessageKind::Warning});
    EXPECT_TRUE(eventsOf(screen, "ask").isEmpty());
}

// The dialog's choices prepare the picture, the dots are those the dialog showed, and the
// choices are remembered; the picture as read is held as it was.
TEST_F(OpenSequenceTest, ThePreparationChosenPreparesThePictureBeforeItsConversion) {
    const QImage image = test::randomPicture(30, 20, 4);
    PreparationChoices choices;
    choices.rotation = 90;
    choices.height = 60;
    choices.gamma = 1.5;
    screen.preparationAnswer = choices;
    open(ConversionVariant::Combined, writePicture("a.bmp", image));
    EXPECT_EQ(screen.preparationShown, PreparationChoices{});
    EXPECT_FALSE(screen.preparationProblem);
    EXPECT_EQ(prep->dotImage().size(), QSize(40, 60));
    EXPECT_EQ(prep->dotImage().bitmap, screen.preparationDots);
    EXPECT_EQ(prep->preparation(), choices);
    EXPECT_EQ(remembered, std::vector{choices});
    EXPECT_EQ(test::redChannel(prep->picture().source), test::redChannel(image));
    EXPECT_EQ(eventsOf(screen, "scroll").size(), 1);
}

TEST_F(OpenSequenceTest, ClosingThePreparationDialogKeepsThePreparationInForce) {
    PreparationChoices halfWidth;
    halfWidth.width = 8;
    prep->setPreparation(halfWidth);
    open(ConversionVariant::Simple, writePicture("a.bmp", test::randomPicture(16, 10, 1)));
    EXPECT_EQ(screen.preparationShown, halfWidth);
    EXPECT_EQ(prep->dotImage().size(), QSize(8, 5));
    EXPECT_TRUE(remembered.empty());
}

TEST_F(OpenSequenceTest, APreparationThatCannotBeMadeRefusesTheFile) {
    const QString good = writePicture("good.bmp", test::randomPicture(20, 10, 3));
    open(ConversionVariant::Combined, good);
    const QImage before = prep->dotImage().bitmap;
    screen.forget();
    PreparationChoices outside;
    outside.crop = QRect(50, 50, 5, 5);
    prep->setPreparation(outside);
    open(ConversionVariant::Combined, writePicture("small.bmp", test::randomPicture(9, 9, 2)));
    ASSERT_EQ(screen.messages.size(), 1);
    EXPECT_TRUE(screen.messages[0].contains(QStringLiteral("small.bmp")));
    EXPECT_TRUE(screen.messages[0].contains(QStringLiteral("вне рисунка")));
    EXPECT_TRUE(screen.captions.isEmpty());
    EXPECT_EQ(prep->picture().fileName, good);
    EXPECT_EQ(prep->dotImage().bitmap, before);
}

// "Подготовка рисунка" prepares the picture as read again: the gray grid is the picture's, not
// the dots'; the density, the placement and the caption stay.
TEST_F(OpenSequenceTest, PreparingAgainConvertsThePictureAsReadNeverTheDots) {
    const QImage image = test::randomPicture(24, 18, 6);
    open(ConversionVariant::Combined, writePicture("a.bmp", image), {3, 1});
    screen.forget();
    PreparationChoices mirrored;
    mirrored.mirrorLeftRight = true;
    screen.preparationAnswer = mirrored;
    prep->prepareClick();
    EXPECT_EQ(eventsOf(screen, "ask"), QStringList{"preparation"});
    EXPECT_TRUE(screen.captions.isEmpty());
    EXPECT_EQ(prep->resolution(), 3);
    EXPECT_EQ(prep->dotImage().bitmap, screen.preparationDots);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(prep->dotImage().gray.at(y + 1, x + 1), qRed(image.pixel(23 - x, y)));
    EXPECT_EQ(remembered, std::vector{mirrored});
    EXPECT_EQ(planResets, 2);
    EXPECT_EQ(screen.viewsShown, 1);

    // Closed without "OK": nothing changes.
    const QImage shown = prep->dotImage().bitmap;
    screen.forget();
    screen.preparationAnswer.reset();
    prep->prepareClick();
    EXPECT_EQ(screen.viewsShown, 0);
    EXPECT_EQ(prep->dotImage().bitmap, shown);
    EXPECT_EQ(prep->preparation(), mirrored);
}

TEST_F(OpenSequenceTest, PreparingWithoutAPictureSaysSo) {
    prep->prepareClick();
    EXPECT_EQ(screen.messageKinds, std::vector{MessageKind::Warning});
    EXPECT_TRUE(eventsOf(screen, "ask").isEmpty());
}

} // namespace
} // namespace zuk
