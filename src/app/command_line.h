#pragma once
// The program's command line, read before anything touches the window
// system: no argument opens the window; --version and --help print and end;
// anything else is refused with the usage on standard error.
#include <span>
#include <string>

namespace nfp {

// Exit status of a refused command line (EX_USAGE).
inline constexpr int kExitUsage = 64;

struct CommandLineResult {
    bool openWindow = false; // false: print what is below and end with exitStatus
    int exitStatus = 0;
    std::string standardOutput;
    std::string standardError;
};

// `arguments` without the program's name.
CommandLineResult ReadCommandLine(std::span<const char* const> arguments);

// "nfp-envio 1.0.0.4"
std::string VersionLine();

// The --help text, in Portuguese.
std::string UsageText();

} // namespace nfp
