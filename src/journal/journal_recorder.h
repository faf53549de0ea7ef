#pragma once
// The send journal as senders use it: opened at the first exchange, each
// entry stamped with the local time and committed before Record returns. A
// journal that cannot be opened or written never stops the sending: the
// first failure of the process is handed to `warn` with the message to show
// the person, and the exchanges go on unrecorded (each later one tries the
// journal again).
#include "journal/exchange_recorder.h"
#include "journal/local_timestamp.h"
#include "journal/send_journal.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace nfp {

class JournalRecorder final : public ExchangeRecorder {
public:
    using Warning = std::function<void(const std::string& message)>;

    JournalRecorder(std::filesystem::path file, Warning warn, TimestampClock clock = LocalTimestampNow);
    ~JournalRecorder() override;

    void Record(JournalEntry entry) override;
    const std::filesystem::path& File() const noexcept { return file_; }

private:
    std::filesystem::path file_;
    Warning warn_;
    TimestampClock clock_;
    std::unique_ptr<SendJournal> journal_;
    bool warned_ = false;
};

} // namespace nfp
