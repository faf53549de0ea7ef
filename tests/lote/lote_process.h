#pragma once
// The nfp-envio-lote program run as a child process, the way cron or a
// systemd timer runs it: its arguments, an environment of our choosing,
// standard output and error kept in files that can be read while it runs.
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

namespace nfp::test {

struct ProgramEnd {
    int status = -1; // the exit status, or -1 when ended by a signal
    int signal = 0;  // the signal that ended it
    std::string out;
    std::string err;
};

// The nfp-envio-lote of this build.
std::string LoteProgramPath();

class LoteProcess {
public:
    // Starts the program (or another, such as a shell). `environment`
    // replaces the test's own variables of its names and these (unset when
    // not given or empty): NFP_ENDPOINT, NFP_CA_BUNDLE, NFP_JOURNAL,
    // XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR, HOME.
    LoteProcess(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
                const std::filesystem::path& outputFolder, const std::string& program = LoteProgramPath());
    ~LoteProcess();
    LoteProcess(const LoteProcess&) = delete;
    LoteProcess& operator=(const LoteProcess&) = delete;

    pid_t Pid() const noexcept { return pid_; }
    std::string Out() const;
    // Waits until standard output holds `text`; false after `limit`.
    bool WaitForOut(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
    void Signal(int signal) const;
    ProgramEnd Wait();

private:
    std::filesystem::path out_;
    std::filesystem::path err_;
    pid_t pid_ = -1;
    bool waited_ = false;
};

// Runs the program to its end.
ProgramEnd RunLoteProgram(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
                 const std::filesystem::path& outputFolder);

} // namespace nfp::test
