#include "journal/ui/JournalWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zuk {

namespace {

constexpr QSize kJournalWindowSize(1100, 560);

void addDay(QTreeWidget* list, const JournalDay& day) {
    auto* branch = new QTreeWidgetItem(list, QStringList{journalDayTitle(day)});
    branch->setFirstColumnSpanned(true);
    QFont bold = branch->font(0);
    bold.setBold(true);
    branch->setFont(0, bold);
    for (const JournalRecord& record : day.records)
        new QTreeWidgetItem(branch, journalRecordCells(record));
    branch->setExpanded(true);
}

} // namespace

JournalWindow::JournalWindow(const std::vector<JournalDay>& days, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("JournalWindow"));
    setWindowTitle(QStringLiteral("Журнал работ"));
    list_->setObjectName(QStringLiteral("JournalList"));
    list_->setHeaderLabels(journalColumnTitles());
    list_->setRootIsDecorated(true);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const JournalDay& day : days)
        addDay(list_, day);
    list_->header()->resizeSections(QHeaderView::ResizeToContents);

    auto* layout = new QVBoxLayout(this);
    if (days.empty())
        layout->addWidget(new QLabel(QStringLiteral("В журнале пока нет ни одной работы.")));
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(kJournalWindowSize);
}

void showJournalWindow(Program& program, QWidget* parent) {
    JournalWindow window(loadJournal(program), parent);
    window.exec();
}

} // namespace zuk
