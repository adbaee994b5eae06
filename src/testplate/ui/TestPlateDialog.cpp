#include "testplate/ui/TestPlateDialog.h"

#include "app/Program.h"
#include "run/ui/PreviewDialog.h"
#include "testplate/PlateText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zuk {

namespace {

constexpr int kFollowIntervalMs = 250;

QSpinBox* spinBox(const char* name, int lowest, int highest, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(lowest, highest);
    box->setValue(value);
    return box;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QLatin1String(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

// The working field in dots with the plate drawn where it will be struck.
QImage plateOnField(const TestPlate& plate) {
    QImage field(plate.field().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    field.fill(QColor(40, 40, 40));
    QPainter painter(&field);
    painter.drawImage(plate.offset(), plate.dots().bitmap);
    return field;
}

} // namespace

TestPlateDialog::TestPlateDialog(Program& program, WindowHandler handler, QWidget* parent)
    : QDialog(parent), program_(program), handler_(std::move(handler)) {
    setObjectName(QStringLiteral("TestPlateForm"));
    setWindowTitle(QStringLiteral("Пробная пластина"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildChoices());
    preview_ = new QScrollArea(this);
    preview_->setWidgetResizable(true);
    preview_->setMinimumSize(420, 260);
    layout->addWidget(preview_, 1);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("PlateProgress"));
    progress_->setWordWrap(true);
    layout->addWidget(summary_);
    layout->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    QPushButton* show = button("PlateShow", QStringLiteral("Рассчитать"), this);
    start_ = button("PlateStart", QStringLiteral("Начать"), this);
    continue_ = button("PlateContinue", QStringLiteral("Продолжить"), this);
    close_ = button("PlateClose", QStringLiteral("Закрыть"), this);
    continue_->setEnabled(false);
    for (QPushButton* each : {show, start_, continue_, close_})
        buttons->addWidget(each);
    layout->addLayout(buttons);
    connect(show, &QPushButton::clicked, this, [this] { planPlate(); });
    connect(start_, &QPushButton::clicked, this, &TestPlateDialog::startClick);
    connect(continue_, &QPushButton::clicked, this, &TestPlateDialog::continueClick);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    follow_.setInterval(kFollowIntervalMs);
    connect(&follow_, &QTimer::timeout, this, &TestPlateDialog::followRun);
}

TestPlateDialog::~TestPlateDialog() = default;

QWidget* TestPlateDialog::buildChoices() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    const PlateForces forces;
    auto* range = new QHBoxLayout;
    from_ = spinBox("PlateFrom", kLowestPlateForce, kHighestPlateForce, forces.from, box);
    to_ = spinBox("PlateTo", kLowestPlateForce, kHighestPlateForce, forces.to, box);
    step_ = spinBox("PlateStep", 1, kHighestPlateForce, forces.step, box);
    for (auto [text, spin] :
         {std::pair{"от", from_}, std::pair{"до", to_}, std::pair{"шаг", step_}}) {
        range->addWidget(new QLabel(QString::fromUtf8(text), box));
        range->addWidget(spin);
    }
    form->addRow(QStringLiteral("Сила удара:"), range);
    patch_ = spinBox("PlatePatch", kSmallestPatchDots, kLargestPatchDots, kDefaultPatchDots, box);
    form->addRow(QStringLiteral("Размер пятна, точек:"), patch_);
    place_ = spinBox("PlatePlace", 1, 9, TestPlateChoices{}.placementButton, box);
    form->addRow(QStringLiteral("Расположение (1–9):"), place_);
    return box;
}

TestPlateChoices TestPlateDialog::choicesShown() const {
    TestPlateChoices choices;
    choices.forces = {from_->value(), to_->value(), step_->value()};
    choices.patchDots = patch_->value();
    choices.placementButton = place_->value();
    choices.continueFrom = continueFrom_;
    return choices;
}

bool TestPlateDialog::planPlate() {
    QString why;
    std::optional<TestPlate> plate = TestPlate::lay(program_, choicesShown(), &why);
    if (!plate) {
        session_.reset();
        summary_->setText(why);
        return false;
    }
    session_ = std::make_unique<PlateSession>(std::move(*plate), program_);
    showPlate();
    return true;
}

void TestPlateDialog::showPlate() {
    const TestPlate& plate = session_->plate();
    auto* view = new PlateView(plateOnField(plate), QRect(plate.offset(), plate.layout().size));
    preview_->setWidget(view);
    summary_->setText(plateSummaryText(plate, session_->progress(program_), session_->estimate()));
    progress_->clear();
}

void TestPlateDialog::startClick() {
    continueFrom_.reset();
    continue_->setEnabled(false);
    if (!planPlate())
        return;
    startNextJob();
}

void TestPlateDialog::continueClick() {
    if (program_.unfinishedJob) {
        progress_->setText(QStringLiteral("Сначала завершите сохранённую работу пластины: её "
                                          "предложит «Тест»."));
        return;
    }
    continue_->setEnabled(false);
    if (planPlate())
        startNextJob();
}

void TestPlateDialog::startNextJob() {
    bool started = false;
    const bool ran = handler_([this, &started] { started = session_->startNext(program_); });
    running_ = true;
    follow_.start();
    if (!ran)
        return; // another handler runs: the next look starts the job
    startedJob_ = started;
    if (!started) {
        plateStopped(program_.unfinishedJob);
        return;
    }
    showState(plateProgressText(session_->progress(program_)));
}

void TestPlateDialog::followRun() {
    if (!running_)
        return;
    if (!startedJob_) {
        startNextJob();
        return;
    }
    if (!program_.job.outcome) {
        showState(plateProgressText(session_->progress(program_)));
        return;
    }
    const bool finished = *program_.job.outcome == RunOutcome::Finished;
    session_->jobEnded(finished);
    startedJob_ = false;
    if (!finished) {
        plateStopped(true);
    } else if (session_->finished()) {
        running_ = false;
        follow_.stop();
        showState(QStringLiteral("Пробная пластина готова. ") +
                  plateProgressText(session_->progress(program_)));
    } else {
        startNextJob();
    }
}

void TestPlateDialog::plateStopped(bool jobStruck) {
    running_ = false;
    startedJob_ = false;
    follow_.stop();
    continueFrom_ = session_->continueFrom(jobStruck);
    QString text = QStringLiteral("Пробная пластина прервана.");
    if (program_.unfinishedJob)
        text += QStringLiteral(" Её текущая работа сохранена: её предложит «Тест».");
    if (continueFrom_)
        text += QStringLiteral(" Остальные пятна можно нанести с силы %1.").arg(*continueFrom_);
    continue_->setText(continueFrom_ ? QStringLiteral("Продолжить с силы %1").arg(*continueFrom_)
                                     : QStringLiteral("Продолжить"));
    continue_->setEnabled(continueFrom_.has_value());
    showState(text);
}

void TestPlateDialog::showState(const QString& progress) {
    progress_->setText(progress);
    start_->setEnabled(!running_);
    close_->setEnabled(!running_);
    from_->parentWidget()->setEnabled(!running_);
}

} // namespace zuk
