// JobProgress.txt of any bytes: it is a whole record or it is refused (the resumption then
// falls back on the position scan); a record read is stored and read again as the same
// record, and its entries are within what the run writes.
#include "fuzz/support/FuzzSupport.h"

#include "run/ProgressRecord.h"

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const QByteArray bytes = input.rest();
    const ProgramDir& dir = ScratchDir::holding(kProgressFileName, bytes);

    const std::optional<ProgressRecord> parsed = parseProgressRecord(bytes);
    const ProgressRead read = readProgressRecord(dir);
    require(read.status == (parsed ? ProgressStatus::Ok : ProgressStatus::Damaged),
            "the record on disk reads as its bytes parse");
    if (!parsed)
        return;
    require(read.record == *parsed, "the record on disk is the record its bytes hold");
    for (const ProgressEntry& entry : parsed->entries) {
        require((entry.pass == 1 || entry.pass == 2) && entry.line >= ProgressEntry::kNotStarted &&
                    entry.plan.size >= 0 && entry.plan.digest.size() == 64 &&
                    !entry.planName.isEmpty(),
                "an entry is one the run could have written");
        const std::optional<ProgressEntry> found = parsed->find(entry.pass, entry.plan);
        require(found && found->pass == entry.pass && found->plan == entry.plan,
                "the entry of a pass and plan is found");
    }
    const QByteArray stored = progressRecordBytes(*parsed);
    require(parseProgressRecord(stored) == parsed, "a record stored reads as the same record",
            QString::fromLatin1(stored));
    for (const Durability durability : {Durability::Fast, Durability::Durable}) {
        require(writeProgressRecord(dir.path(kProgressFileName), *parsed, durability).ok(),
                "a record read can be written");
        const ProgressRead again = readProgressRecord(dir);
        require(again.status == ProgressStatus::Ok && again.record == *parsed,
                "a record written reads as the same record");
    }
    return;
}
