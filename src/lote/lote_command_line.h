#pragma once
// The command line of nfp-envio-lote, read without touching anything else:
// long options in Portuguese, GNU style ("--mes 03/2009" or
// "--mes=03/2009", any unambiguous beginning of an option's name). Any
// sequence of arguments gives an answer; nothing here throws on bad input.
#include "lote/run_month.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nfp {

// Exit statuses of the command.
enum LoteExit : int {
    kLoteExitOk = 0,       // every file accepted, or nothing to send
    kLoteExitRefused = 1,  // some file refused by the service
    kLoteExitFailure = 2,  // some failure: transport, status, a file or folder not read, the summary
    kLoteExitUsage = 64,   // the command line is wrong (EX_USAGE)
    kLoteExitLocked = 75,  // another run holds the lock (EX_TEMPFAIL)
};

struct SummaryTarget {
    enum class Kind { Pdf, Text };
    std::string path;
    Kind kind = Kind::Pdf;

    friend bool operator==(const SummaryTarget&, const SummaryTarget&) = default;
};

struct LoteOptions {
    bool processamento = false; // true: "Processamento"; false: "Simples Validação"
    bool retificar = false;
    RunMonth month;
    std::vector<std::string> cnpjs; // as given, without repeats; empty: the marked profiles
    bool simular = false;
    std::optional<SummaryTarget> resumo;
    bool silencioso = false;
};

struct LoteCommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Usage;
    LoteOptions options; // for Run
    std::string problem; // for Usage, in Portuguese
};

// `arguments` without the program's name.
LoteCommandLine ParseLoteCommandLine(std::span<const char* const> arguments);

// "nfp-envio-lote 1.0.0.4\n"
std::string LoteVersionText();

// The --help text; names the profile file and the journal in use.
std::string LoteHelpText(const std::string& profileFile, const std::string& journalFile);

// What a refused command line prints on standard error.
std::string LoteUsageErrorText(const std::string& problem);

} // namespace nfp
