#pragma once
// What the batch command prints on standard output: one line per file and
// the count at the end, in Portuguese.
#include <cstdint>
#include <string>
#include <string_view>

namespace nfp {

struct LoteCounts {
    int aceitos = 0;
    int recusados = 0;
    int falhas = 0;
    int naoEnviados = 0; // files a failure or a stop kept from being sent

    friend bool operator==(const LoteCounts&, const LoteCounts&) = default;
};

// "<CNPJ> <arquivo>: aceito, protocolo <N>"
std::string AcceptedLine(std::string_view cnpj, std::string_view arquivo, std::string_view protocolo);
// "<CNPJ> <arquivo>: recusado: <the service's text on one line>"
std::string RefusedLine(std::string_view cnpj, std::string_view arquivo, std::string_view resultado);
// "<CNPJ> <arquivo>: falha: <message on one line>"
std::string FailedLine(std::string_view cnpj, std::string_view arquivo, std::string_view message);
// "<CNPJ> <arquivo>: não enviado"
std::string NotSentLine(std::string_view cnpj, std::string_view arquivo);
// "<CNPJ> <arquivo>: <N> bytes", for --simular
std::string SimulatedLine(std::string_view cnpj, std::string_view arquivo, std::uintmax_t size);

// "3 aceitos, 1 recusado, 0 falhas", and ", 2 não enviados" when some were
// not sent.
std::string CountLine(const LoteCounts& counts);
// "2 arquivos a enviar, nada foi enviado", for --simular
std::string SimulatedCountLine(int files);

// A file that could not be read, in Portuguese, from the system's error
// number: "não foi possível ler o arquivo <path>: <reason>".
std::string UnreadableFileText(std::string_view path, int error);

} // namespace nfp
