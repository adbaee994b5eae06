#include "PictureScreen.h"
#include "TestPictures.h"

#include "app/Texts.h"
#include "image/Conversion.h"
#include "image/ImagePreparation.h"
#include "image/PicturePreparation.h"
#include "image/PreparationPreview.h"
#include "image/ui/PictureFileDialogs.h"
#include "image/ui/PicturePane.h"
#include "image/ui/PreparationDialog.h"
#include "image/ui/TConvertForm.h"
#include "image/ui/TForm5.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zuk {
namespace {

// Runs `action` once, inside the dialog's modal loop, the next time the dialog is shown.
class AnswerWhenShown : public QObject {
public:
    AnswerWhenShown(QWidget* dialog, std::function<void()> action)
        : QObject(dialog), action_(std::move(action)) {
        dialog->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                action_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> action_;
};

void whenShown(QWidget* dialog, std::function<void()> action) {
    new AnswerWhenShown(dialog, std::move(action));
}

template <typename T> T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

TEST(TConvertFormTest, ComponentsAndDefaults) {
    Texts texts;
    TConvertForm form(texts);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ConvertForm"));
    EXPECT_NE(form.findChild<QGroupBox*>(QStringLiteral("ConvertPanel")), nullptr);
    EXPECT_EQ(child<QLabel>(&form, "Label9")->text(),
              QStringLiteral("Варианты преобразования изображения"));
    EXPECT_EQ(child<QRadioButton>(&form, "RadioButton3")->text(),
              QStringLiteral("Комбинированный (улучшенный)"));
    EXPECT_TRUE(child<QRadioButton>(&form, "RadioButton3")->isChecked());
    EXPECT_EQ(child<QRadioButton>(&form, "RadioButton4")->text(),
              QStringLiteral("Диффузионный (простой)"));
    EXPECT_EQ(child<QPushButton>(&form, "Button1")->text(), QStringLiteral("Ok"));
}

TEST(TConvertFormTest, OkReportsTheCheckedVariantAndOtherClosingReportsNothing) {
    Texts texts;
    TConvertForm form(texts);
    auto* ok = child<QPushButton>(&form, "Button1");
    whenShown(&form, [ok] { ok->click(); });
    EXPECT_EQ(form.choose(), ConversionVariant::Combined);

    whenShown(&form, [&] {
        child<QRadioButton>(&form, "RadioButton4")->click();
        ok->click();
    });
    EXPECT_EQ(form.choose(), ConversionVariant::Simple);

    // The choice stays checked for the next showing; closing without Ok gives nothing.
    whenShown(&form, [&] { form.reject(); });
    EXPECT_EQ(form.choose(), std::nullopt);
    EXPECT_TRUE(child<QRadioButton>(&form, "RadioButton4")->isChecked());
}

TEST(TConvertFormTest, LanguageTextsReplaceTheCaptions) {
    Texts texts;
    texts.setLanguageLoaded(true);
    texts.setLanguageText(111, QStringLiteral("Conversion"));
    texts.setLanguageText(211, QStringLiteral("Combined"));
    texts.setLanguageText(311, QStringLiteral("Diffusion"));
    TConvertForm form(texts);
    EXPECT_EQ(child<QLabel>(&form, "Label9")->text(), QStringLiteral("Conversion"));
    EXPECT_EQ(child<QRadioButton>(&form, "RadioButton3")->text(), QStringLiteral("Combined"));
    EXPECT_EQ(child<QRadioButton>(&form, "RadioButton4")->text(), QStringLiteral("Diffusion"));
}

TEST(TForm5Test, ComponentsAndTheSelectedLine) {
    Texts texts;
    TForm5 form(texts, 3);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Portret_Properties"));
    auto* label1 = child<QLabel>(&form, "Label1");
    EXPECT_EQ(label1->text(), QStringLiteral("Разрешение (плотность точек) "));
    EXPECT_TRUE(label1->font().bold());
    EXPECT_EQ(child<QLabel>(&form, "Label3")->text(),
              QStringLiteral("Расположение изображения на рабочем поле"));
    auto* box = child<QComboBox>(&form, "ResolutionBox");
    ASSERT_EQ(box->count(), 10);
    EXPECT_EQ(box->itemText(0), QStringLiteral("101.6  dpi  =  40.0 т/см"));
    EXPECT_TRUE(box->itemText(9).isEmpty());
    EXPECT_EQ(box->currentIndex(), 3);
    EXPECT_EQ(form.resolution(), 3);
    const char* captions[] = {"Left Top",    "Center Top",    "Right Top",
                              "Left Center", "Center Center", "Right Center",
                              "Left Bottom", "Center Bottom", "Right Bottom"};
    // Equal squares of the designed 73 × 73, or larger where the font needs it for a caption.
    const QSize side = child<QPushButton>(&form, "Button1")->size();
    EXPECT_EQ(side.width(), side.height());
    EXPECT_GE(side.width(), 73);
    for (int k = 1; k <= 9; ++k) {
        auto* button = form.findChild<QPushButton*>(QStringLiteral("Button%1").arg(k));
        ASSERT_NE(button, nullptr) << k;
        EXPECT_EQ(button->text(), QString::fromLatin1(captions[k - 1]));
        EXPECT_EQ(button->size(), side) << k;
        EXPECT_GE(button->width(), button->sizeHint().width()) << k;
    }
}

TEST(TForm5Test, APlacementButtonClosesWithTheLineAndTheButton) {
    Texts texts;
    TForm5 form(texts, 0);
    auto* box = child<QComboBox>(&form, "ResolutionBox");
    whenShown(&form, [&] {
        box->setCurrentIndex(2);
        child<QPushButton>(&form, "Button6")->click();
    });
    const ResolutionChoice choice = form.choose();
    EXPECT_EQ(choice.line, 2);
    EXPECT_EQ(choice.placementButton, 6);
    EXPECT_EQ(form.resolution(), 2);
}

TEST(TForm5Test, ClosingOtherwiseStillTakesTheLine) {
    Texts texts;
    TForm5 form(texts, 4);
    auto* box = child<QComboBox>(&form, "ResolutionBox");
    whenShown(&form, [&] {
        box->setCurrentIndex(9);
        form.reject();
    });
    ResolutionChoice choice = form.choose();
    EXPECT_EQ(choice.line, 9);
    EXPECT_EQ(choice.placementButton, 0);

    whenShown(&form, [&] {
        box->lineEdit()->setText(QStringLiteral("300 dpi"));
        child<QPushButton>(&form, "Button1")->click();
    });
    choice = form.choose();
    EXPECT_EQ(choice.line, -1);
    EXPECT_EQ(choice.placementButton, 1);

    whenShown(&form, [&] {
        box->lineEdit()->setText(QStringLiteral("  77.4  dpi  =  30.5 т/см"));
        form.reject();
    });
    EXPECT_EQ(form.choose().line, 5);

    // Enter in the box accepts the line it shows; the placement is left as it was.
    whenShown(&form, [&] {
        box->lineEdit()->setText(box->itemText(7));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    });
    choice = form.choose();
    EXPECT_EQ(choice.line, 7);
    EXPECT_EQ(choice.placementButton, 0);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(TForm5Test, LanguageTexts) {
    Texts texts;
    texts.setLanguageLoaded(true);
    texts.setLanguageText(2002, QStringLiteral("Resolution"));
    texts.setLanguageText(2012, QStringLiteral("Placement"));
    TForm5 form(texts, 0);
    EXPECT_EQ(child<QLabel>(&form, "Label1")->text(), QStringLiteral("Resolution"));
    EXPECT_EQ(child<QLabel>(&form, "Label3")->text(), QStringLiteral("Placement"));
}

TEST(PictureFileDialogsTest, ReturnTheChosenPathOrNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    test::saveBmp(test::uniformPicture(2, 2, 50), path);
    auto answerWith = [](const QString& file) {
        QTimer::singleShot(0, [file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (file.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(file);
            static_cast<QDialog*>(dialog)->accept(); // accept() as the dialog does
        });
    };
    answerWith(path);
    EXPECT_EQ(choosePictureToOpen(nullptr), path);
    answerWith(QString());
    EXPECT_TRUE(choosePictureToOpen(nullptr).isEmpty());
    const QString target = dir.filePath(QStringLiteral("out"));
    answerWith(target);
    EXPECT_EQ(choosePictureSaveName(nullptr), target);
}

// A screen whose picture dialogs are the real windows, answered by the test through clicks.
class DialogScreen : public test::PictureScreen {
public:
    explicit DialogScreen(const Texts& texts) : convertForm(texts), form5(texts, 0) {}
    std::optional<ConversionVariant> askConversionVariant() override {
        return convertForm.choose();
    }
    ResolutionChoice askResolutionAndPlacement() override { return form5.choose(); }

    TConvertForm convertForm;
    TForm5 form5;
};

TEST(WindowFlowTest, OpenWithTheRealDialogsAnsweredByClicks) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.bmp"));
    test::saveBmp(test::randomPicture(30, 20, 21), path);
    Texts texts;
    DialogScreen screen(texts);
    int line = 0; // the density line, as the program keeps it
    ImageLinks links;
    links.resolution = [&line] { return line; };
    links.resolutionChosen = [&line](int chosen) { line = chosen; };
    ImagePreparation prep(screen, texts, links);
    prep.setFieldSize(QSize(300, 200));
    prep.buildToneTables();
    prep.buildPatternTable();

    whenShown(&screen.convertForm, [&] {
        child<QRadioButton>(&screen.convertForm, "RadioButton4")->click();
        child<QPushButton>(&screen.convertForm, "Button1")->click();
    });
    screen.openAnswer = path;
    whenShown(&screen.form5, [&] {
        child<QComboBox>(&screen.form5, "ResolutionBox")->setCurrentIndex(1);
        child<QPushButton>(&screen.form5, "Button7")->click();
    });
    prep.openClick();

    EXPECT_FALSE(prep.combinedVariant());
    EXPECT_EQ(line, 1);
    EXPECT_EQ(prep.placement().marks, marksOfButton(7));
    // Placed on the view, the 300 × 200 field plus its 10-pixel strip.
    EXPECT_EQ(prep.placement().offset, QPoint(0, fieldInDots(210, 1) - 20));
    EXPECT_EQ(screen.caption,
              QStringLiteral("ZUK-5.5   95.6  dpi  =  37.6 т/см    (") + path + ")");
    EXPECT_EQ(screen.statusLine, QStringLiteral("Изображение готово"));
    for (int red : test::redChannel(prep.dotImage().bitmap))
        ASSERT_TRUE(red == 0 || red == 255);
}

// "Подготовка рисунка": the dots shown are the real conversion's of the choices on the
// controls, a crop is dragged with the mouse, impossible choices refuse "OK", "Сбросить" goes
// back to no preparation.
TEST(PreparationDialogTest, ShowsTheDotsOfTheChoicesAsTheyChange) {
    const QImage picture = test::randomPicture(60, 40, 3);
    const PictureTables tables = PictureTables::afterStartUp();
    PreparationPreview preview(picture, ConversionVariant::Combined, tables);
    PreparationChoices start;
    start.width = 30;
    PreparationDialog dialog(preview, start);
    QApplication::processEvents();
    EXPECT_EQ(dialog.choices(), start);
    const auto* dotsPane = dialog.findChild<PicturePane*>(QStringLiteral("DotsPane"));
    EXPECT_EQ(dotsPane->picture().size(), QSize(30, 20));
    EXPECT_TRUE(dialog.statusText().contains(QStringLiteral("30 × 20")));

    dialog.findChild<QSpinBox*>(QStringLiteral("BrightnessBox"))->setValue(40);
    QApplication::processEvents();
    PreparationChoices brighter = start;
    brighter.brightness = 40;
    EXPECT_EQ(dialog.choices(), brighter);
    DotImage expected;
    SilentProgress progress;
    convertPicture(preparePicture(picture, brighter).image, tables, ConversionVariant::Combined,
                   expected, progress);
    EXPECT_EQ(dotsPane->picture(), expected.bitmap);

    // Fitted at one screen pixel per pixel, centred in a pane of 120 × 80.
    auto* original = dialog.findChild<PicturePane*>(QStringLiteral("OriginalPane"));
    original->setFixedSize(120, 80);
    QTest::mousePress(original, Qt::LeftButton, {}, QPoint(40, 25));
    QTest::mouseMove(original, QPoint(70, 45));
    QTest::mouseRelease(original, Qt::LeftButton, {}, QPoint(70, 45));
    EXPECT_EQ(dialog.choices().crop, QRect(10, 5, 30, 20));

    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OkButton"));
    dialog.findChild<QSpinBox*>(QStringLiteral("WidthBox"))->setValue(30000);
    dialog.findChild<QSpinBox*>(QStringLiteral("HeightBox"))->setValue(30000);
    QApplication::processEvents();
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_TRUE(dialog.statusText().contains(QStringLiteral("слишком велик")));

    dialog.findChild<QPushButton*>(QStringLiteral("ResetButton"))->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog.choices(), PreparationChoices{});
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dotsPane->picture().size(), picture.size());
}

} // namespace
} // namespace zuk
