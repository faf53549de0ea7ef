#pragma once
// Where a sender writes each exchange with the service. Recording never
// fails the sending: an implementation that cannot write says so its own way
// and returns.
#include "journal/journal_entry.h"

namespace nfp {

class ExchangeRecorder {
public:
    virtual ~ExchangeRecorder() = default;
    // Returns once the entry is durable (or could not be written).
    virtual void Record(JournalEntry entry) = 0;
};

// Keeps nothing: for callers that have no journal.
class NoExchangeRecorder final : public ExchangeRecorder {
public:
    void Record(JournalEntry) override {}
};

} // namespace nfp
