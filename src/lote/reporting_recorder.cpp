#include "lote/reporting_recorder.h"

namespace nfp {

void ReportingRecorder::Record(JournalEntry entry)
{
    const std::string cnpj = entry.cnpj;
    const std::string arquivo = entry.arquivo;
    const std::string protocolo = entry.protocolo;
    const std::string resultado = entry.resultado;
    const std::string situacao = entry.situacao;
    journal_.Record(std::move(entry));
    if (situacao == kSituacaoAceito) {
        output_.Accepted(cnpj, arquivo, protocolo);
    } else if (situacao == kSituacaoRecusado) {
        output_.Refused(cnpj, arquivo, resultado);
    } else {
        recordedFailure_ = true;
        output_.Failed(cnpj, arquivo, resultado);
    }
}

} // namespace nfp
