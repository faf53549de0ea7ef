#include "journal/journal_recorder.h"

#include "journal/journal_failure.h"

#include <utility>

namespace nfp {

JournalRecorder::JournalRecorder(std::filesystem::path file, Warning warn, TimestampClock clock)
    : file_(std::move(file)), warn_(std::move(warn)), clock_(std::move(clock))
{
}

JournalRecorder::~JournalRecorder() = default;

void JournalRecorder::Record(JournalEntry entry)
{
    entry.quando = clock_();
    try {
        if (!journal_)
            journal_ = std::make_unique<SendJournal>(file_);
        journal_->Append(entry);
    } catch (const JournalError& e) {
        // A fresh start next time: the file may be back by then.
        journal_.reset();
        if (!warned_ && warn_) {
            warned_ = true;
            warn_(JournalFailureMessage(file_.string(), e.what()));
        }
    }
}

} // namespace nfp
