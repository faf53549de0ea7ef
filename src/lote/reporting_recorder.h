#pragma once
// The batch command's journal: every exchange goes into the send journal
// first, then its line is printed and counted, so a line on the screen
// always stands for a row on disk.
#include "journal/exchange_recorder.h"
#include "lote/lote_output.h"

namespace nfp {

class ReportingRecorder final : public ExchangeRecorder {
public:
    ReportingRecorder(ExchangeRecorder& journal, LoteOutput& output) : journal_(journal), output_(output) {}

    void Record(JournalEntry entry) override;

    // Whether a failed exchange ("falha") was recorded since the last reset:
    // a send run that ends with an error after one has printed its line.
    bool RecordedFailure() const noexcept { return recordedFailure_; }
    void ResetFailure() noexcept { recordedFailure_ = false; }

private:
    ExchangeRecorder& journal_;
    LoteOutput& output_;
    bool recordedFailure_ = false;
};

} // namespace nfp
