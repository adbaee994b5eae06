#pragma once

#include "journal/JobJournal.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

namespace zuk {

class Program;

// "Журнал работ": the journal of jobs, newest first, one branch a day headed by the day's
// machine time, one row a job with the journal's columns.
class JournalWindow : public QDialog {
    Q_OBJECT
public:
    explicit JournalWindow(const std::vector<JournalDay>& days, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

// "Файл" → "Журнал работ": reads the program's journal (a damaged line reported once) and
// shows it until the operator closes the window.
void showJournalWindow(Program& program, QWidget* parent);

} // namespace zuk
