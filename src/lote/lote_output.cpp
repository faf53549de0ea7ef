#include "lote/lote_output.h"

namespace nfp {

void LoteOutput::Line(bool shown, const std::string& line)
{
    // Flushed per line: a log or a pipe follows the run as it goes.
    if (shown)
        out_ << line << '\n' << std::flush;
}

void LoteOutput::Accepted(std::string_view cnpj, std::string_view arquivo, std::string_view protocolo)
{
    ++counts_.aceitos;
    Line(!quiet_, AcceptedLine(cnpj, arquivo, protocolo));
}

void LoteOutput::Refused(std::string_view cnpj, std::string_view arquivo, std::string_view resultado)
{
    ++counts_.recusados;
    Line(true, RefusedLine(cnpj, arquivo, resultado));
}

void LoteOutput::Failed(std::string_view cnpj, std::string_view arquivo, std::string_view message)
{
    ++counts_.falhas;
    Line(true, FailedLine(cnpj, arquivo, message));
}

void LoteOutput::NotSent(std::string_view cnpj, std::string_view arquivo)
{
    ++counts_.naoEnviados;
    Line(true, NotSentLine(cnpj, arquivo));
}

void LoteOutput::Simulated(std::string_view cnpj, std::string_view arquivo, std::uintmax_t size)
{
    ++simulated_;
    Line(!quiet_, SimulatedLine(cnpj, arquivo, size));
}

void LoteOutput::Count()
{
    Line(true, CountLine(counts_));
}

void LoteOutput::SimulatedCount()
{
    Line(true, SimulatedCountLine(simulated_));
}

void LoteOutput::Problem(std::string_view text)
{
    err_ << "nfp-envio-lote: " << text << '\n' << std::flush;
}

void LoteOutput::Note(std::string_view text)
{
    if (!quiet_)
        Problem(text);
}

} // namespace nfp
