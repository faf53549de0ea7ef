#pragma once
// SIGINT and SIGTERM ask the batch command to stop: the handlers only note
// the signal, and the run looks at the note between files. Once the run
// has ended in order, Finish ends the process by the same signal, so that
// whoever sent it sees it obeyed.
namespace nfp {

class StopSignals {
public:
    // Installs the handlers (one instance per process).
    StopSignals();
    // Restores the handlers found.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool Requested() const noexcept;
    // The signal received, 0 for none.
    int Signal() const noexcept;
    // With a signal received: restores its default action and raises it
    // again (the process ends). Otherwise returns.
    void Finish() const;
};

// "SIGINT", "SIGTERM" or the number.
const char* SignalName(int signal);

} // namespace nfp
