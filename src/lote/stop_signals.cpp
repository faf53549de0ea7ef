#include "lote/stop_signals.h"

#include <csignal>

namespace nfp {

namespace {

// Written by the handler only; the one piece of state a process needs once.
volatile std::sig_atomic_t received = 0;
struct sigaction previousInt {};
struct sigaction previousTerm {};

extern "C" void NoteStop(int signal)
{
    received = signal;
}

} // namespace

StopSignals::StopSignals()
{
    received = 0;
    struct sigaction action {};
    action.sa_handler = NoteStop;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the file in hand finishes.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

StopSignals::~StopSignals()
{
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

bool StopSignals::Requested() const noexcept
{
    return received != 0;
}

int StopSignals::Signal() const noexcept
{
    return received;
}

void StopSignals::Finish() const
{
    const int signal = received;
    if (signal == 0)
        return;
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    std::raise(signal);
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "sinal";
    }
}

} // namespace nfp
