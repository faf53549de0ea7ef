#pragma once
// Layouts of the send queue and the results table.
#include "util/memory_table.h"

namespace nfp {

// CDS_Enviar: Arquivo (12), Caminho (100), ordered by Arquivo.
TableLayout SendQueueLayout();
// CDS_Enviados: Arquivo (12), Caminho (100), Protocolo (9), Resultado (480)
// and, not shown, the CNPJ (14) the file was sent for; ordered by Arquivo.
TableLayout ResultsLayout();

} // namespace nfp
