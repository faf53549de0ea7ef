#pragma once
// One run of the batch command: for each profile it covers, that profile's
// receipt files of the month, found and sent exactly as the Enviar
// button's batch does (same walk, same folder search and month pattern,
// same send run, each profile's own credentials). It never asks: a refused
// file is journaled and the run goes on; a transport or status failure, or
// a file that cannot be read, ends that profile's part (its other files
// are listed as not sent) and the run goes on with the next profile.
#include "journal/exchange_recorder.h"
#include "lote/lote_command_line.h"
#include "lote/lote_output.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_store.h"
#include "sending/service_poster.h"
#include "util/memory_table.h"
#include "util/regional_settings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nfp {

// The profiles of the store, loaded as the window loads them, and marked
// for this run.
struct RunProfiles {
    std::unique_ptr<MemoryTable> registros; // CDS_Registros layout
    // Profiles the run covers that could not be read (without --cnpj every
    // one; the whole store when its CNPJ is empty).
    std::vector<ProfileLoadFailure> failures;
    // --cnpj values that name no stored profile.
    std::vector<std::string> unknown;
};

// Without `cnpjs` the profiles keep their own send marks. With them, the
// profiles they name (the CNPJ as stored, or its digits, as in
// 11.222.333/0001-81) are marked and every other one is not.
RunProfiles LoadRunProfiles(ProfileStore& store, const std::vector<std::string>& cnpjs);

struct LoteRunParts {
    ServicePoster& poster;
    ExchangeRecorder& journal;
    const RegionalSettings& regional;
    Date today;
    LoteOutput& output;
    // Asked between files and between profiles.
    std::function<bool()> stopRequested;
};

struct LoteRunResult {
    // A failure beyond the counted files: a profile or a folder not read.
    bool failed = false;
    // The run stopped early at a signal.
    bool stopped = false;
};

// Sends (or, with --simular, lists) the marked profiles' files. Accepted
// files join `results` (CDS_Enviados layout) as in the window. Prints each
// file's line and the count.
LoteRunResult RunLote(RunProfiles& profiles, MemoryTable& results, const LoteOptions& options, LoteRunParts& parts);

// 2 for any failure or file not sent, else 1 for any refusal, else 0.
int LoteExitStatus(const LoteCounts& counts, bool failed);

} // namespace nfp
