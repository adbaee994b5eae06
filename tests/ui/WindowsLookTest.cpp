// How the windows look at the default font: no caption clipped in any window or panel, the
// standard dialogs in Russian, message boxes with the icon of their kind, the working-field
// view scrolled to the placed picture, and a status bar with room for its values.
#include "app/ui/Application.h"
#include "app/ui/Windows.h"
#include "image/ui/PictureFileDialogs.h"
#include "plan/TimeEstimate.h"
#include "plan/ui/EngravingPanels.h"
#include "plan/ui/PrintReadyPanel.h"
#include "plan/ui/PrintReadyPanel_2.h"
#include "run/ui/AbortPanel.h"
#include "service/ui/GroupBox1.h"
#include "support/SimulatedWindows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

QString captionOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return qobject_cast<const QLabel*>(widget)->text();
}

// The buttons, labels, radio buttons and check boxes shown in the window that got less room
// than their captions need (their size hint; a word-wrapped label its height for its width).
QStringList clippedCaptions(const QWidget& window) {
    QStringList clipped;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!qobject_cast<const QAbstractButton*>(widget) && !qobject_cast<const QLabel*>(widget))
            continue;
        if (!widget->isVisibleTo(&window))
            continue;
        QSize needed = widget->sizeHint();
        if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->wordWrap())
            needed.setHeight(label->heightForWidth(widget->width()));
        if (widget->width() < needed.width() || widget->height() < needed.height())
            clipped << QStringLiteral("%1 %2 \"%3\": %4 x %5, needs %6 x %7")
                           .arg(window.objectName(), widget->objectName(), captionOf(widget))
                           .arg(widget->width())
                           .arg(widget->height())
                           .arg(needed.width())
                           .arg(needed.height());
    }
    return clipped;
}

#define EXPECT_NONE_CLIPPED(clipped)                                                               \
    do {                                                                                           \
        const QStringList found = (clipped);                                                       \
        EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();               \
    } while (false)

// Shows the window (not modally), lets it lay out and reports its clipped captions.
QStringList clippedWhenShown(QWidget& window) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window)) << window.objectName().toStdString();
    QApplication::processEvents();
    QStringList clipped = clippedCaptions(window);
    window.hide();
    return clipped;
}

// Every level value label at its widest, "(200)".
void showWidestForces(LevelControls& controls) {
    LevelControlsState widest;
    widest.shownForces.fill(LevelControls::kHighestPosition);
    controls.show(widest);
}

class WindowsLook : public ::testing::Test, protected SimulatedWindows {
protected:
    WindowsLook() {
        form().variant = ConversionVariant::Simple;
        form().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form()));
    }
    AnsweringMenuForm& form() { return menu(); }
    // The part of the working field the scroll box shows.
    QRect visibleField() {
        QScrollArea* box = form().scrollBox1();
        return {QPoint(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value()),
                box->viewport()->size()};
    }
    void openPicture(QSize size, int placementButton) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        ASSERT_TRUE(picture.save(path, "BMP"));
        form().picture = path;
        form().placementButton = placementButton;
        form().OpenClick();
        ASSERT_TRUE(form().messages.isEmpty()) << form().messages.join('|').toStdString();
    }
    QRect placedPicture() {
        return {program().image.placement().offset, program().image.dotImage().bitmap.size()};
    }
};

TEST_F(WindowsLook, NoCaptionIsClippedInAnyWindowOrPanel) {
    // The main window with every panel it shows, and every value at its widest.
    program().image.dotImage().bitmap = QImage(40, 30, QImage::Format_RGB32);
    EngravingPanels& panels = form().engravingPanels();
    form().Print1Click();
    panels.printReadyPanel().secondWork()->click();
    ASSERT_TRUE(panels.printReadyPanel2().isVisible());
    AbortPanel& abort = panels.abortPanel();
    abort.placeAt(QPoint(20, 10));
    abort.showHalves(true, true);
    abort.setPanelWidth(AbortPanel::kBothHalvesWidth);
    for (LevelControls* controls :
         {&panels.printReadyPanel().levels(), &panels.printReadyPanel2().levels(),
          &abort.firstPass(), &abort.secondPass()})
        showWidestForces(*controls);
    form().showChangeBox(QPoint(600, 300));
    form().N4Click();
    form().findChild<QWidget*>(QStringLiteral("SelfTestingPanel"))->show();
    const QDateTime evening(QDate(2026, 12, 30), QTime(23, 59, 59));
    const qint64 longest = 999LL * 3600 * 100'000;
    showJobEstimate(form(), program().texts, evening, longest);
    form().showRunProgress({9'999'999, 9'999'999, 999LL * 3600 * 1000});
    QApplication::processEvents();
    EXPECT_NONE_CLIPPED(clippedCaptions(form()));

    // The first pass's half of the abort panel alone, as STOP shows it in a one-pass job.
    abort.showHalves(true, false);
    abort.setPanelWidth(abort.firstHalfWidth() + 20);
    QApplication::processEvents();
    EXPECT_NONE_CLIPPED(clippedCaptions(form()));

    EXPECT_NONE_CLIPPED(clippedWhenShown(*windows->form1));
    EXPECT_NONE_CLIPPED(clippedWhenShown(*windows->form4));
    EXPECT_NONE_CLIPPED(clippedWhenShown(*windows->form5));
    EXPECT_NONE_CLIPPED(clippedWhenShown(*windows->convertForm));
    TAboutBox about(program().texts, readAboutTexts(program().dir), &form());
    EXPECT_NONE_CLIPPED(clippedWhenShown(about));
}

TEST_F(WindowsLook, StatusStripKeepsItsFieldsOffTheWindowsEdges) {
    const QRect window = form().rect();
    for (const char* name : {"Memo1", "Gauge1", "Label35", "Label37", "RunProgress"}) {
        auto* widget = form().findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(widget, nullptr) << name;
        const QRect area(widget->mapTo(&form(), QPoint(0, 0)), widget->size());
        EXPECT_TRUE(window.adjusted(4, 0, -4, -4).contains(area)) << name;
    }
    // The values have their room before they come: the labels do not move when they do.
    auto* label37 = form().findChild<QLabel*>(QStringLiteral("Label37"));
    const QPoint before = label37->pos();
    showJobEstimate(form(), program().texts, QDateTime(QDate(2026, 1, 5), QTime(9, 0)),
                    123LL * 3600 * 100'000);
    QApplication::processEvents();
    EXPECT_EQ(label37->pos(), before);
    EXPECT_EQ(label37->text(), QStringLiteral("Длительность работы: 123:00:00"));
}

TEST_F(WindowsLook, RunProgressGoesToItsLabelInTheStatusBar) {
    const RunProgressFigures figures{1234, 2938, (41 * 60 + 10) * 1000};
    form().showRunProgress(figures);
    auto* label = form().findChild<QLabel*>(QStringLiteral("RunProgress"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), runProgressText(figures, QLocale::system()));
    EXPECT_EQ(label->parentWidget()->objectName(), QStringLiteral("Panel4"));
}

TEST_F(WindowsLook, OpeningScrollsTheViewToThePlacedPicture) {
    ASSERT_EQ(visibleField().topLeft(), QPoint(0, 0));
    // Centred on the default field, far outside the part shown at first.
    openPicture(QSize(400, 300), 5);
    ASSERT_FALSE(QRect(QPoint(0, 0), visibleField().size()).intersects(placedPicture()));
    EXPECT_TRUE(visibleField().contains(placedPicture()));
    EXPECT_LE((visibleField().center() - placedPicture().center()).manhattanLength(), 2);

    // A later open to the top left corner does not keep the old scroll position.
    openPicture(QSize(400, 300), 1);
    EXPECT_EQ(visibleField().topLeft(), QPoint(0, 0));
    openPicture(QSize(400, 300), 9);
    EXPECT_TRUE(visibleField().contains(placedPicture()));

    // Larger than the visible part: its centre comes to the middle.
    openPicture(QSize(1500, 1200), 5);
    EXPECT_LE((visibleField().center() - placedPicture().center()).manhattanLength(), 2);
}

TEST_F(WindowsLook, MessageBoxesCarryTheIconOfTheirKind) {
    struct Shown {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
    } shown;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = {box->icon(), box->text()};
            box->close();
        }
    });
    closer.start();
    const std::pair<MessageKind, QMessageBox::Icon> kinds[] = {
        {MessageKind::Information, QMessageBox::Information},
        {MessageKind::Warning, QMessageBox::Warning},
        {MessageKind::Error, QMessageBox::Critical},
    };
    for (const auto& [kind, icon] : kinds) {
        shown = {};
        form().TMenuForm::showMessage(kind, QStringLiteral("Ошибка связи."));
        EXPECT_EQ(shown.icon, icon);
        EXPECT_EQ(shown.text, QStringLiteral("Ошибка связи."));
    }
}

// Runs `answer` on the file dialog once it is shown.
void whenFileDialogShown(std::function<void(QFileDialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
        dialog->reject();
    });
}

TEST(StandardDialogs, FileDialogsAreQtsOwnAndSpeakRussian) {
    ASSERT_TRUE(installQtTranslations());
    EXPECT_TRUE(installQtTranslations()); // once is enough; a second call changes nothing
    QStringList labels;
    whenFileDialogShown([&](QFileDialog& dialog) {
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        // Only an existing file can be opened.
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        // The size, type and date of the files are shown in full, not elided.
        auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(list, nullptr);
        ASSERT_GE(list->header()->count(), 4);
        for (int column = 1; column < 4; ++column)
            EXPECT_EQ(list->header()->sectionResizeMode(column), QHeaderView::ResizeToContents);
        labels << dialog.windowTitle() << dialog.labelText(QFileDialog::FileName)
               << dialog.labelText(QFileDialog::FileType) << dialog.labelText(QFileDialog::Accept)
               << dialog.labelText(QFileDialog::Reject);
    });
    EXPECT_TRUE(choosePictureToOpen(nullptr).isEmpty());
    EXPECT_EQ(labels,
              (QStringList{"Открыть", "&Имя файла:", "Типы файлов:", "&Открыть", "Отмена"}));

    labels.clear();
    whenFileDialogShown([&](QFileDialog& dialog) {
        labels << dialog.windowTitle() << dialog.labelText(QFileDialog::Accept);
        // A new name may be entered; an existing file is replaced only when confirmed.
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    });
    EXPECT_TRUE(choosePictureSaveName(nullptr).isEmpty());
    EXPECT_EQ(labels, (QStringList{"Сохранить", "&Сохранить"}));

    // The message boxes' standard buttons too.
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Нет"));
}

} // namespace
} // namespace zuk::test
