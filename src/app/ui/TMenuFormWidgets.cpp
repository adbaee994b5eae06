// The main window's menu and controls, named as the handlers and the language file know them.
#include "app/ui/TMenuForm.h"

#include "app/ui/FieldImage.h"
#include "app/ui/MenuKeys.h"
#include "app/ui/ScreenPlacement.h"
#include "material/ui/MaterialPanel.h"
#include "plan/TimeEstimate.h"
#include "plan/ui/EngravingPanels.h"
#include "run/ui/AbortPanel.h"
#include "service/ui/ChangeBox.h"
#include "service/ui/GroupBox1.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zuk {

namespace {

QMenu* addMenu(QMenuBar* bar, const char* objectName, const QString& title, bool visible = true) {
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(objectName));
    menu->menuAction()->setObjectName(QLatin1String(objectName) + QStringLiteral("Entry"));
    menu->menuAction()->setVisible(visible);
    return menu;
}

QLabel* addLabel(QWidget* parent, QLayout* layout, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    layout->addWidget(label);
    return label;
}

// The space around the status memo, the gauge and the status bar, and between the status bar's
// fields.
constexpr int kStatusMargin = 6;
constexpr int kStatusGap = 24;
// A duration of 999:59:59 in 10-µs units: the widest an estimate shows.
constexpr qint64 kWidestDuration = (999LL * 3600 + 59 * 60 + 59) * 100'000;

// The label keeps room for its caption followed by the widest value it is given.
void reserveRoomForValue(QLabel* label, const QString& widestValue) {
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text() + widestValue));
}

} // namespace

QAction* TMenuForm::addItem(QMenu* menu, const char* objectName, const QString& text,
                            void (TMenuForm::*handler)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(objectName));
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void TMenuForm::buildMenu() {
    QMenuBar* bar = menuBar();
    addFileMenu(bar);
    addServiceAndWorkMenus(bar);
    addSettingsMenu(bar);
    addPortMenu(bar);
    addPlacementMenu(bar);
    QAction* stop = addTestHelpAndStop(bar);
    assignMnemonics(*bar, stop);
}

void TMenuForm::addFileMenu(QMenuBar* bar) {
    QMenu* file = addMenu(bar, "Application1", QStringLiteral("Файл"));
    setMenuShortcut(*addItem(file, "Open", QStringLiteral("Открыть"), &TMenuForm::OpenClick),
                    QKeySequence(Qt::CTRL | Qt::Key_O), *file->menuAction());
    addItem(file, "Prepare1", QStringLiteral("Подготовка рисунка"), &TMenuForm::Prepare1Click);
    setMenuShortcut(*addItem(file, "Save1", QStringLiteral("Сохранить"), &TMenuForm::Save1Click),
                    QKeySequence(Qt::CTRL | Qt::Key_S), *file->menuAction());
    // The preview sends nothing to the device: it lies where the state without a device
    // leaves it usable, and is enabled once a picture is open.
    addItem(file, "Preview1", QStringLiteral("Предпросмотр"), &TMenuForm::Preview1Click)
        ->setEnabled(false);
    addItem(file, "Journal1", QStringLiteral("Журнал работ"), &TMenuForm::Journal1Click);
    addItem(file, "CloseExit", QStringLiteral("Выход"), &TMenuForm::CloseExit);
}

void TMenuForm::addServiceAndWorkMenus(QMenuBar* bar) {
    QMenu* service = addMenu(bar, "Sevice1", QStringLiteral("Sevice"), false);
    addItem(service, "Convert", QStringLiteral("Convert"));
    addItem(service, "Original", QStringLiteral("Original"));

    QMenu* work = addMenu(bar, "SuperWork1", QStringLiteral("Работа"));
    addItem(work, "Print1", QStringLiteral("Гравировка"), &TMenuForm::Print1Click);
    addItem(work, "TestPlate1", QStringLiteral("Пробная пластина"), &TMenuForm::TestPlate1Click);
    addItem(work, "FrameTrace", QStringLiteral("Обвести рамку"), &TMenuForm::FrameTraceClick);
    auto* quality = new QActionGroup(this);
    for (auto [name, text, checked] :
         {std::tuple{"Qual1", "Quality HI", false}, std::tuple{"Qual2", "Quality LO", true}}) {
        QAction* item = addItem(work, name, QLatin1String(text));
        item->setCheckable(true);
        item->setChecked(checked);
        item->setVisible(false);
        quality->addAction(item);
    }
}

void TMenuForm::addSettingsMenu(QMenuBar* bar) {
    QMenu* settings = addMenu(bar, "N1", QStringLiteral("Установки"));
    addItem(settings, "N4", QStringLiteral("Геометрия"), &TMenuForm::N4Click);
    addItem(settings, "N6", QStringLiteral("Разогрев"), &TMenuForm::N6Click);
    QAction* headMove = addItem(settings, "HeadMove", QStringLiteral("Перемещение иглы"),
                                &TMenuForm::HeadMoveClick);
    headMove->setCheckable(true);
    QAction* selfTesting = addItem(settings, "SelfTesting1", QStringLiteral("Self Testing"),
                                   &TMenuForm::SelfTesting1Click);
    selfTesting->setCheckable(true);
    selfTesting->setEnabled(false);
    for (auto [name, text] : {std::pair{"N2", "Сила удара"}, std::pair{"N3", "Рабочее поле"},
                              std::pair{"N7", "Калибровка устройства"}})
        addItem(settings, name, QString::fromUtf8(text))->setVisible(false);
}

void TMenuForm::addPortMenu(QMenuBar* bar) {
    QMenu* ports = addMenu(bar, "ComPort", QStringLiteral("Порт"));
    auto* portGroup = new QActionGroup(this);
    for (int item = 1; item <= 8; ++item) {
        QAction* port = ports->addAction(QStringLiteral("Com%1").arg(item));
        port->setObjectName(QStringLiteral("Com%1").arg(item) + QLatin1Char('1'));
        port->setCheckable(true);
        port->setChecked(item == 1);
        portGroup->addAction(port);
        connect(port, &QAction::triggered, this, [this, item] { ComClick(item); });
    }
}

void TMenuForm::addPlacementMenu(QMenuBar* bar) {
    QMenu* placement = addMenu(bar, "Pozition", QStringLiteral("Расположение"), false);
    QMenu* horizontal = placement->addMenu(QStringLiteral("По горизонтали"));
    horizontal->setObjectName(QStringLiteral("PosHor"));
    QMenu* vertical = placement->addMenu(QStringLiteral("По вертикали"));
    vertical->setObjectName(QStringLiteral("PosVert"));
    for (auto [menu, items] : {std::pair{horizontal, std::array{std::pair{"Left", "слева"},
                                                                std::pair{"HorCenrt", "по центру"},
                                                                std::pair{"Right", "справа"}}},
                               std::pair{vertical, std::array{std::pair{"Up", "Сверху"},
                                                              std::pair{"VertCentr", "по центру"},
                                                              std::pair{"Down", "Снизу"}}}}) {
        auto* group = new QActionGroup(this);
        for (auto [name, text] : items) {
            QAction* item = addItem(menu, name, QString::fromUtf8(text));
            item->setCheckable(true);
            group->addAction(item);
        }
    }
}

// "Тест", "Помощь" and STOP, the last on the menu bar; STOP is returned, as it takes no
// mnemonic (its key is Delete).
QAction* TMenuForm::addTestHelpAndStop(QMenuBar* bar) {
    QAction* test = bar->addAction(QStringLiteral("Тест"));
    test->setObjectName(QStringLiteral("N5"));
    connect(test, &QAction::triggered, this, [this] { N5Click(); });

    QMenu* help = addMenu(bar, "Help1", QStringLiteral("Помощь"));
    addItem(help, "About1", QStringLiteral("О..."), &TMenuForm::About1Click);
    for (auto [name, text] :
         {std::pair{"Optimization1", "Оптимизация"}, std::pair{"N8", "1"}, std::pair{"N9", "2"}})
        addItem(help, name, QString::fromUtf8(text))->setVisible(false);

    QAction* stop = bar->addAction(QStringLiteral("STOP"));
    stop->setObjectName(QStringLiteral("STOP"));
    stop->setShortcut(QKeySequence(Qt::Key_Delete));
    stop->setVisible(false);
    connect(stop, &QAction::triggered, this, [this] { STOPClick(); });
    return stop;
}

QWidget* TMenuForm::buildServicePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QFormLayout(panel);
    for (auto [field, name] :
         {std::pair{Field::Edit3, "Edit3"}, std::pair{Field::Edit4, "Edit4"},
          std::pair{Field::Edit5, "Edit5"}, std::pair{Field::Edit6, "Edit6"}}) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        layout->addRow(QLatin1String(name), edit);
        fields_[field] = edit;
    }
    panel->hide();
    return panel;
}

QWidget* TMenuForm::buildSelfTestingPanel() {
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("SelfTestingPanel"));
    auto* layout = new QFormLayout(panel);
    erorCounterEdit_ = new QSpinBox(panel);
    erorCounterEdit_->setObjectName(QStringLiteral("ErorCounterEdit"));
    erorCounterEdit_->setRange(0, 65535);
    layout->addRow(QStringLiteral("Eror Counter"), erorCounterEdit_);
    for (auto [field, name, caption] :
         {std::tuple{Field::CountPosX, "CountPosXEdit", "Count. Pos. X"},
          std::tuple{Field::RealPosX, "RealPosXEdit", "Real Pos. X"},
          std::tuple{Field::CountPosY, "CountPosYEdit", "Count. Pos. Y"},
          std::tuple{Field::RealPosY, "RealPosYEdit", "Real Pos. Y"}}) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        layout->addRow(QLatin1String(caption), edit);
        fields_[field] = edit;
    }
    // Engraving plan: where the region search has come to (row, column).
    for (auto [field, name] :
         {std::pair{Field::Label66, "label66"}, std::pair{Field::Label67, "label67"}}) {
        auto* label = new QLabel(panel);
        label->setObjectName(QLatin1String(name));
        layout->addRow(label);
        labels_[field] = label;
    }
    stepControlCheckBox_ = new QCheckBox(QStringLiteral("StepControl"), panel);
    stepControlCheckBox_->setObjectName(QStringLiteral("StepControlCheckBox"));
    stepControlCheckBox_->setChecked(true);
    connect(stepControlCheckBox_, &QCheckBox::toggled, this,
            [this](bool on) { program_.stepControl = on; });
    layout->addRow(stepControlCheckBox_);
    panel->hide();
    return panel;
}

// The panels of the manual movement float over the field view, outside its scrolling.
void TMenuForm::buildMovementPanels() {
    QWidget* viewport = scrollBox1_->viewport();
    changeBox_ = new ChangeBox(program_.movement.choices, viewport);
    groupBox1_ = new GroupBox1(program_.movement.choices, viewport);
    connect(groupBox1_, &GroupBox1::positionClicked, this,
            [this](int handle) { GeometryButtonClick(handle); });
    connect(groupBox1_, &GroupBox1::finishClicked, this, [this] { Button16Click(); });
    connect(groupBox1_, &GroupBox1::frameTraceClicked, this, [this] { FrameTraceClick(); });
    connect(image1_, &FieldImage::mousePressed, this, &TMenuForm::Image1MouseDown);
    connect(image1_, &FieldImage::mouseMoved, this, &TMenuForm::Image1MouseMove);
    connect(image1_, &FieldImage::mouseReleased, this, &TMenuForm::Image1MouseUp);
    connect(image1_, &FieldImage::doubleClicked, this, &TMenuForm::Image1DblClick);
}

void TMenuForm::buildBody() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* row = new QHBoxLayout;
    row->addWidget(buildServicePanel());
    scrollBox1_ = new QScrollArea(central);
    scrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox1_->setBackgroundRole(QPalette::Dark);
    image1_ = new FieldImage;
    scrollBox1_->setWidget(image1_);
    row->addWidget(scrollBox1_, 1);
    selfTestingPanel_ = buildSelfTestingPanel();
    row->addWidget(selfTestingPanel_);
    layout->addLayout(row, 1);

    buildMovementPanels();

    auto* statusRow = new QHBoxLayout;
    statusRow->setContentsMargins(kStatusMargin, kStatusMargin, kStatusMargin, 0);
    memo1_ = new QPlainTextEdit(central);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setMaximumHeight(memo1_->fontMetrics().lineSpacing() * 2 + 12);
    statusRow->addWidget(memo1_, 2);
    gauge1_ = new QProgressBar(central);
    gauge1_->setObjectName(QStringLiteral("Gauge1"));
    gauge1_->setValue(0);
    statusRow->addWidget(gauge1_, 1);
    layout->addLayout(statusRow);

    layout->addWidget(buildStatusBar(central));
    buildEngravingPanels();

    setCentralWidget(central);
    // The designed 1000 × 760, on a screen too small for it as much as the screen leaves.
    placeOnScreen(*this, QSize(1000, 760));
}

// The status bar: the estimate's end time and duration, each with room for its value so that
// nothing moves when the values come, and the live progress of a run.
QWidget* TMenuForm::buildStatusBar(QWidget* parent) {
    auto* panel4 = new QWidget(parent);
    panel4->setObjectName(QStringLiteral("Panel4"));
    auto* panel4Layout = new QHBoxLayout(panel4);
    panel4Layout->setContentsMargins(kStatusMargin, 2, kStatusMargin, kStatusMargin);
    panel4Layout->setSpacing(kStatusGap);
    label35_ =
        addLabel(panel4, panel4Layout, "Label35", QStringLiteral("Время завершения работы:"));
    label37_ = addLabel(panel4, panel4Layout, "Label37", QStringLiteral("Длительность работы: "));
    const QLocale locale = QLocale::system();
    const QDateTime evening(QDate(2000, 12, 30), QTime(23, 59, 59));
    reserveRoomForValue(label35_, QLatin1Char(' ') + endTimeText(evening, kWidestDuration, locale));
    reserveRoomForValue(label37_, durationText(kWidestDuration, locale));
    panel4Layout->addStretch(1);
    runProgress_ = addLabel(panel4, panel4Layout, "RunProgress", QString());
    runProgress_->setToolTip(QStringLiteral(
        "Выполненные строки плана из всех строк работы (обоих проходов) и время до её "
        "завершения в темпе, с которым работа идёт"));
    return panel4;
}

// The properties panels and the abort panel lie hidden over the picture.
void TMenuForm::buildEngravingPanels() {
    engravingPanels_ =
        new EngravingPanels(program_, scrollBox1_, image1_, findAction(QStringLiteral("Qual1")),
                            findAction(QStringLiteral("Qual2")));
    connect(engravingPanels_, &EngravingPanels::cancelClicked, this, &TMenuForm::BitBtn1Click);
    connect(engravingPanels_, &EngravingPanels::workClicked, this, &TMenuForm::Button17Click);
    addMaterialPanel(program_, *engravingPanels_);
    AbortPanel* abortPanel = &engravingPanels_->abortPanel();
    connect(abortPanel, &AbortPanel::continueClicked, this, &TMenuForm::Button27Click);
    connect(abortPanel, &AbortPanel::finishClicked, this, &TMenuForm::Button28Click);
}

} // namespace zuk
