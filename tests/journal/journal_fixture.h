#pragma once
// A send journal in a throwaway folder, and entries to fill it with.
#include "journal/journal_entry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace nfp::test {

// A sending accepted on the given day.
inline JournalEntry SentEntry(const std::string& quando, const std::string& cnpj, const std::string& arquivo,
                              const std::string& situacao = kSituacaoAceito)
{
    JournalEntry e;
    e.quando = quando;
    e.operacao = "Enviar";
    e.cnpj = cnpj;
    e.usuario = "demo";
    e.categoria = 1;
    e.arquivo = arquivo;
    e.pasta = "/home/loja/nfp/";
    e.tamanho = 42;
    e.sha256 = std::string(64, 'a');
    e.envioNormal = 1;
    e.protocolo = situacao == kSituacaoAceito ? "100000001" : "";
    e.resultado = "10/12/2026 10:00:00 Protocolo 100000001 - Arquivo recebido com sucesso";
    e.situacao = situacao;
    return e;
}

} // namespace nfp::test
