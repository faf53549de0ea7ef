#pragma once
// The direct text route: PortaComunicacao (a device such as /dev/usb/lp0,
// or any file path) opened for writing and fed the job's bytes.
#include "report/engine/text_job.h"

namespace nfp {

class DirectPortRoute : public TextJobRoute {
public:
    TextJobStart Start(const TextJobRequest& request) override;
};

// A job whose bytes go into a file or device; the spooler route uses it
// for printer data saved to a file.
TextJobStart StartFileJob(const std::string& path);

} // namespace nfp
