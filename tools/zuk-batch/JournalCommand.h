#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch journal [--dir DIR]
// Prints the journal of jobs of the program directory as the window lists it: newest first,
// a line a day with its machine time, a line a job.
int runJournal(const QStringList& args, Streams streams);

extern const char* const kJournalUsage;
extern const char* const kJournalDetails;

} // namespace zuk::batch
