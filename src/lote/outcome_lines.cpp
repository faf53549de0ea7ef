#include "lote/outcome_lines.h"

#include <cerrno>
#include <cstring>

namespace nfp {

namespace {

std::string Head(std::string_view cnpj, std::string_view arquivo)
{
    std::string line(cnpj);
    line += ' ';
    line += arquivo;
    line += ": ";
    return line;
}

// A text on one line: each run of line breaks and tabs becomes one blank,
// and blanks at the ends go.
std::string OneLine(std::string_view text)
{
    std::string line;
    bool pendingBlank = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '\t' || c == ' ') {
            pendingBlank = !line.empty();
            continue;
        }
        if (pendingBlank)
            line += ' ';
        pendingBlank = false;
        line += c;
    }
    return line;
}

std::string Counted(int n, const char* singular, const char* plural)
{
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

} // namespace

std::string AcceptedLine(std::string_view cnpj, std::string_view arquivo, std::string_view protocolo)
{
    const std::string number = OneLine(protocolo);
    return Head(cnpj, arquivo) + (number.empty() ? "aceito, sem número de protocolo" : "aceito, protocolo " + number);
}

std::string RefusedLine(std::string_view cnpj, std::string_view arquivo, std::string_view resultado)
{
    return Head(cnpj, arquivo) + "recusado: " + OneLine(resultado);
}

std::string FailedLine(std::string_view cnpj, std::string_view arquivo, std::string_view message)
{
    return Head(cnpj, arquivo) + "falha: " + OneLine(message);
}

std::string NotSentLine(std::string_view cnpj, std::string_view arquivo)
{
    return Head(cnpj, arquivo) + "não enviado";
}

std::string SimulatedLine(std::string_view cnpj, std::string_view arquivo, std::uintmax_t size)
{
    return Head(cnpj, arquivo) + std::to_string(size) + (size == 1 ? " byte" : " bytes");
}

std::string CountLine(const LoteCounts& c)
{
    std::string line = Counted(c.aceitos, "aceito", "aceitos") + ", " + Counted(c.recusados, "recusado", "recusados") +
                       ", " + Counted(c.falhas, "falha", "falhas");
    if (c.naoEnviados > 0)
        line += ", " + Counted(c.naoEnviados, "não enviado", "não enviados");
    return line;
}

std::string SimulatedCountLine(int files)
{
    return Counted(files, "arquivo a enviar", "arquivos a enviar") + ", nada foi enviado";
}

std::string UnreadableFileText(std::string_view path, int error)
{
    std::string reason;
    switch (error) {
    case ENOENT: reason = "o arquivo não existe"; break;
    case EACCES:
    case EPERM: reason = "permissão negada"; break;
    case EISDIR: reason = "é uma pasta, não um arquivo"; break;
    case EIO: reason = "erro de leitura no disco"; break;
    default: reason = "erro " + std::to_string(error) + " do sistema (" + std::strerror(error) + ")"; break;
    }
    return "não foi possível ler o arquivo " + std::string(path) + ": " + reason;
}

} // namespace nfp
