#pragma once
// The send run as the batch command drives it: the credentials of the
// profile the walk stands on, the options' choice, no questions (a refused
// file goes on, as answering "Não"), and a stop asked for by a signal
// taken at the run's next pause, which always falls between two files.
#include "sending/send_run.h"
#include "util/memory_table.h"

#include <exception>
#include <functional>

namespace nfp {

// The run was asked to stop; the file in hand, if any, was not posted.
class RunStopped : public std::exception {
public:
    const char* what() const noexcept override { return "envio interrompido"; }
};

class LoteSendView final : public SendRunView {
public:
    LoteSendView(const MemoryTable& registros, SendChoice choice, int currentYear, std::function<bool()> stopRequested)
        : registros_(registros), choice_(choice), currentYear_(currentYear), stopRequested_(std::move(stopRequested))
    {
    }

    ServiceCredentials Credentials() override;
    SendChoice Choice() override { return choice_; }
    void SetStatus(std::string_view) override {}
    void SetProgress(long long, long long) override {}
    void SetBusyCursor(bool) override {}
    // Throws RunStopped once a stop is asked for.
    void ProcessMessages() override;
    // "Não": the file is dropped from the queue and the run goes on.
    int AskAfterUnexpectedReply(const std::string& question) override;
    int CurrentYear() override { return currentYear_; }

private:
    const MemoryTable& registros_;
    SendChoice choice_;
    int currentYear_;
    std::function<bool()> stopRequested_;
};

} // namespace nfp
