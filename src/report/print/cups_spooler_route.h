#pragma once
// The spooler route on this platform: a raw CUPS job on the current
// printer. The server is libcups' own choice (CUPS_SERVER, client.conf,
// the local scheduler).
#include "report/engine/text_job.h"

namespace nfp {

class CupsSpoolerRoute : public TextJobRoute {
public:
    // A request with an output file writes the job's bytes into that file
    // and sends nothing to the printer.
    TextJobStart Start(const TextJobRequest& request) override;
};

} // namespace nfp
