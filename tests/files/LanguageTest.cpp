#include "app/Language.h"
#include "TempProgramDir.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QWidget>

#include <set>

namespace zuk {
namespace {

using test::TempProgramDir;

QByteArray cp1251(const QString& text) {
    return *ProgramDir::encode(text);
}

TEST(Language, NoFileLeavesEverythingBuiltIn) {
    TempProgramDir temp;
    Texts texts;
    const LanguageLoad load = loadLanguage(temp.dir(), texts);
    EXPECT_FALSE(load.found());
    EXPECT_TRUE(load.ok());
    EXPECT_FALSE(texts.languageLoaded());
    EXPECT_EQ(texts.language(10, "Файл"), "Файл");
}

TEST(Language, NumbersAreTheFirstFourCharactersAndTextFollowsTheFirstEquals) {
    TempProgramDir temp;
    temp.put("rus.lng", cp1251("10=Skipped\r\n"
                               "0010=Фа=йл\r\n"
                               "0011=\r\n"
                               "  12=Сохр\n"
                               "0013 no equals sign\r\n"
                               "abcd=x\r\n"
                               "9002=Ошибка связи!"));
    Texts texts;
    const LanguageLoad load = loadLanguage(temp.dir(), texts);

    EXPECT_EQ(load.fileName, "rus.lng");
    EXPECT_EQ(load.textCount, 4);
    EXPECT_TRUE(texts.languageLoaded());
    EXPECT_EQ(texts.language(10, "Файл"), "Фа=йл");
    EXPECT_EQ(texts.language(11, "Открыть"), "");
    EXPECT_EQ(texts.language(12, "Сохранить"), "Сохр");
    EXPECT_FALSE(texts.hasLanguageText(13));
    EXPECT_EQ(texts.language(9002, "Ошибка связи."), "Ошибка связи!");
}

TEST(Language, StatusTextsTakeTheirNumbersInFileOrder) {
    TempProgramDir temp;
    QString file;
    for (int number = 9003; number <= 9010; ++number)
        file += QStringLiteral("%1=Статус %1\r\n").arg(number);
    temp.put("a.lng", cp1251(file));
    Texts texts;
    ASSERT_TRUE(loadLanguage(temp.dir(), texts).ok());

    EXPECT_EQ(texts.status(StatusText::Converting), "Статус 9003");
    EXPECT_EQ(texts.status(StatusText::Transferring), "Статус 9004");
    EXPECT_EQ(texts.status(StatusText::PictureReady), "Статус 9005");
    EXPECT_EQ(texts.status(StatusText::LoadingFile), "Статус 9006");
    EXPECT_EQ(texts.status(StatusText::PreparingData), "Статус 9007");
    EXPECT_EQ(texts.status(StatusText::WarmUp), "Статус 9008");
    EXPECT_EQ(texts.status(StatusText::DeviceReady), "Статус 9009");
    EXPECT_EQ(texts.status(StatusText::DeviceFound), "Статус 9010");

    temp.put("a.lng", cp1251("9008=Прогрев\r\n0043=Нагрев - \r\n"));
    Texts later;
    ASSERT_TRUE(loadLanguage(temp.dir(), later).ok());
    EXPECT_EQ(later.status(StatusText::WarmUp), "Нагрев - ");
    EXPECT_EQ(later.status(StatusText::Converting), "Преобразование изображения");
}

TEST(Language, TableNamesTheCaptionsOfEachNumber) {
    EXPECT_EQ(captionObjects(10, LanguageWindow::Main), QStringList{"Application1"});
    EXPECT_EQ(captionObjects(43, LanguageWindow::Main), QStringList{"N6"});
    EXPECT_EQ(captionObjects(94, LanguageWindow::Main),
              (QStringList{"RadioButton3", "RadioButton7"}));
    EXPECT_EQ(captionObjects(211, LanguageWindow::ConvertForm), QStringList{"RadioButton3"});
    EXPECT_EQ(captionObjects(481, LanguageWindow::AboutBox), QStringList{"Label6"});
    EXPECT_EQ(captionObjects(2001, LanguageWindow::Form1), QStringList{""});
    EXPECT_EQ(captionObjects(2053, LanguageWindow::Form4), QStringList{"Label6"});
    EXPECT_TRUE(captionObjects(9003, LanguageWindow::Main).isEmpty());

    // No window has one object named twice, and the table is in number order.
    std::set<std::pair<int, std::string>> seen;
    int previous = -1;
    for (const LanguageCaption& caption : languageCaptions()) {
        EXPECT_TRUE(seen.insert({static_cast<int>(caption.window), caption.objectName}).second)
            << caption.objectName;
        EXPECT_LE(previous, caption.number);
        previous = caption.number;
    }
    // Rows counted from the language table: 58 of the main window, 3 of the conversion
    // dialog, 10 of the about box, 6, 2 and 7 of the three other dialogs.
    EXPECT_EQ(languageCaptions().size(), 86u);
}

TEST(Language, CaptionsAreAppliedByObjectName) {
    QWidget window;
    window.setWindowTitle("Внимание !");
    auto* menu = new QMenu("Файл", &window);
    menu->setObjectName("Application1");
    auto* open = new QAction("Открыть", &window);
    open->setObjectName("Open");
    auto* label = new QLabel("Уровни", &window);
    label->setObjectName("Label17");
    auto* radio = new QRadioButton("Групповая установка уровней", &window);
    radio->setObjectName("RadioButton3");

    Texts texts;
    texts.setLanguageLoaded(true);
    const std::pair<int, QString> language[] = {
        {10, "File"}, {11, "Open"}, {531, "Levels"}, {94, "Group"}, {2001, "Note"}};
    for (const auto& [number, text] : language)
        applyLanguageText(texts, number, text);

    const QStringList missing = applyLanguageCaptions(texts, LanguageWindow::Main, &window);
    EXPECT_EQ(menu->title(), "File");
    EXPECT_EQ(open->text(), "Open");
    EXPECT_EQ(label->text(), "Levels");
    EXPECT_EQ(radio->text(), "Group");
    EXPECT_EQ(window.windowTitle(), "Внимание !"); // 2001 belongs to the unfinished-job dialog
    EXPECT_EQ(missing, (QStringList{"RadioButton7", "Label30"}));

    applyLanguageCaptions(texts, LanguageWindow::Form1, &window);
    EXPECT_EQ(window.windowTitle(), "Note");
}

} // namespace
} // namespace zuk
