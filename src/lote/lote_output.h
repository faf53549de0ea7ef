#pragma once
// Where the batch command tells what happens: one line per file on standard
// output (only refusals, failures and files not sent when quiet), then the
// count; messages for the person on standard error. Keeps the count.
#include "lote/outcome_lines.h"

#include <ostream>
#include <string_view>

namespace nfp {

class LoteOutput {
public:
    LoteOutput(std::ostream& out, std::ostream& err, bool quiet) : out_(out), err_(err), quiet_(quiet) {}

    void Accepted(std::string_view cnpj, std::string_view arquivo, std::string_view protocolo);
    void Refused(std::string_view cnpj, std::string_view arquivo, std::string_view resultado);
    void Failed(std::string_view cnpj, std::string_view arquivo, std::string_view message);
    void NotSent(std::string_view cnpj, std::string_view arquivo);
    void Simulated(std::string_view cnpj, std::string_view arquivo, std::uintmax_t size);
    // The count line.
    void Count();
    void SimulatedCount();

    // On standard error, "nfp-envio-lote: <text>": Problem always, Note
    // unless quiet.
    void Problem(std::string_view text);
    void Note(std::string_view text);

    const LoteCounts& Counts() const noexcept { return counts_; }

private:
    void Line(bool shown, const std::string& line);

    std::ostream& out_;
    std::ostream& err_;
    bool quiet_;
    LoteCounts counts_;
    int simulated_ = 0;
};

} // namespace nfp
