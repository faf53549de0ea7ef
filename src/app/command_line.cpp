#include "app/command_line.h"

#include <string_view>

#include "util/version_text.h"

namespace nfp {

std::string VersionLine()
{
    return "nfp-envio " + GetVersionText() + "\n";
}

std::string UsageText()
{
    return "Uso: nfp-envio [--help | --version]\n"
           "\n"
           "Envia os arquivos da Nota Fiscal Paulista ao serviço da Secretaria da\n"
           "Fazenda do Estado de São Paulo, guarda os números de protocolo, consulta o\n"
           "resultado do processamento e imprime ou salva o resumo do envio.\n"
           "Sem argumentos, abre a janela do programa.\n"
           "\n"
           "  --help     mostra esta ajuda e sai\n"
           "  --version  mostra a versão do programa e sai\n"
           "\n"
           "Variáveis de ambiente:\n"
           "  NFP_ENDPOINT   endereço do serviço a usar no lugar do oficial\n"
           "  NFP_CA_BUNDLE  arquivo PEM com os certificados de autoridades aceitos no\n"
           "                 lugar dos do sistema\n"
           "  NFP_JOURNAL    arquivo do histórico de envios a usar no lugar do normal\n"
           "\n"
           "Os perfis ficam em $XDG_CONFIG_HOME/Zeltra/NFP.ini (normalmente\n"
           "~/.config/Zeltra/NFP.ini); o histórico de envios, em\n"
           "$XDG_DATA_HOME/nfp-envio/envios.sqlite (normalmente\n"
           "~/.local/share/nfp-envio/envios.sqlite). Mais informações: man nfp-envio\n";
}

CommandLineResult ReadCommandLine(std::span<const char* const> arguments)
{
    CommandLineResult result;
    if (arguments.empty()) {
        result.openWindow = true;
        return result;
    }
    const std::string_view first = arguments.front() ? arguments.front() : "";
    if (arguments.size() == 1 && first == "--version") {
        result.standardOutput = VersionLine();
        return result;
    }
    if (arguments.size() == 1 && first == "--help") {
        result.standardOutput = UsageText();
        return result;
    }
    std::string_view refused = first;
    if (first == "--version" || first == "--help") refused = arguments[1] ? arguments[1] : "";
    result.exitStatus = kExitUsage;
    result.standardError = "nfp-envio: argumento não reconhecido: " + std::string(refused) + "\n\n" + UsageText();
    return result;
}

} // namespace nfp
