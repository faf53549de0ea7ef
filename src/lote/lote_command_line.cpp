#include "lote/lote_command_line.h"

#include "util/version_text.h"

#include <algorithm>
#include <string_view>

namespace nfp {

namespace {

enum class Opt { Processamento, Validacao, Mes, Cnpj, Retificar, Simular, Resumo, Silencioso, Version, Help };

struct OptionName {
    std::string_view name;
    Opt opt;
    bool takesValue;
};

constexpr OptionName kOptions[] = {
    {"processamento", Opt::Processamento, false},
    {"validacao", Opt::Validacao, false},
    {"mes", Opt::Mes, true},
    {"cnpj", Opt::Cnpj, true},
    {"retificar", Opt::Retificar, false},
    {"simular", Opt::Simular, false},
    {"resumo", Opt::Resumo, true},
    {"silencioso", Opt::Silencioso, false},
    {"version", Opt::Version, false},
    {"help", Opt::Help, false},
};

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    if (text.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) {
                          const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
                          return lower(a) == lower(b);
                      });
}

// The option a name stands for: the exact name, or the only one it begins.
// Fills `problem` when there is none or more than one.
const OptionName* FindOption(std::string_view name, std::string& problem)
{
    std::vector<const OptionName*> matches;
    for (const OptionName& o : kOptions) {
        if (o.name == name)
            return &o;
        if (!name.empty() && o.name.starts_with(name))
            matches.push_back(&o);
    }
    if (matches.size() == 1)
        return matches.front();
    if (matches.empty()) {
        problem = "opção não reconhecida: " + Quoted("--" + std::string(name));
    } else {
        problem = "opção ambígua: " + Quoted("--" + std::string(name)) + " (";
        for (std::size_t i = 0; i < matches.size(); ++i)
            problem += (i ? ", --" : "--") + std::string(matches[i]->name);
        problem += ")";
    }
    return nullptr;
}

LoteCommandLine Refused(std::string problem)
{
    LoteCommandLine c;
    c.action = LoteCommandLine::Action::Usage;
    c.problem = std::move(problem);
    return c;
}

} // namespace

LoteCommandLine ParseLoteCommandLine(std::span<const char* const> arguments)
{
    LoteCommandLine result;
    LoteOptions& o = result.options;
    std::optional<bool> mode;
    bool monthGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i] ? arguments[i] : "";
        if (optionsEnded || !argument.starts_with("--")) {
            if (!optionsEnded && argument.starts_with("-") && argument.size() > 1)
                return Refused("opção não reconhecida: " + Quoted(argument));
            return Refused("argumento não reconhecido: " + Quoted(argument));
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string_view body = argument.substr(2);
        const std::size_t equals = body.find('=');
        const std::string_view name = body.substr(0, equals);
        std::string problem;
        const OptionName* option = FindOption(name, problem);
        if (!option)
            return Refused(problem);
        const std::string shown = "--" + std::string(option->name);
        std::string_view value;
        if (option->takesValue) {
            if (equals != std::string_view::npos) {
                value = body.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i] ? arguments[i] : "";
            } else {
                return Refused("a opção " + Quoted(shown) + " requer um argumento");
            }
        } else if (equals != std::string_view::npos) {
            return Refused("a opção " + Quoted(shown) + " não aceita argumento");
        }

        switch (option->opt) {
        case Opt::Help:
            result.action = LoteCommandLine::Action::Help;
            return result;
        case Opt::Version:
            result.action = LoteCommandLine::Action::Version;
            return result;
        case Opt::Processamento:
        case Opt::Validacao: {
            const bool processamento = option->opt == Opt::Processamento;
            if (mode && *mode != processamento)
                return Refused("use --processamento ou --validacao, não as duas");
            mode = processamento;
            break;
        }
        case Opt::Mes: {
            if (monthGiven)
                return Refused("a opção '--mes' foi dada mais de uma vez");
            const auto month = ParseRunMonth(value);
            if (!month)
                return Refused("mês inválido: " + Quoted(value) + " (use MM/AAAA, atual ou anterior)");
            o.month = *month;
            monthGiven = true;
            break;
        }
        case Opt::Cnpj:
            if (value.empty())
                return Refused("a opção '--cnpj' requer um C.N.P.J.");
            if (std::find(o.cnpjs.begin(), o.cnpjs.end(), value) == o.cnpjs.end())
                o.cnpjs.emplace_back(value);
            break;
        case Opt::Retificar:
            o.retificar = true;
            break;
        case Opt::Simular:
            o.simular = true;
            break;
        case Opt::Silencioso:
            o.silencioso = true;
            break;
        case Opt::Resumo: {
            if (o.resumo)
                return Refused("a opção '--resumo' foi dada mais de uma vez");
            SummaryTarget target;
            target.path = std::string(value);
            if (EndsWithIgnoringCase(value, ".pdf") && value.size() > 4 && !value.ends_with("/.pdf"))
                target.kind = SummaryTarget::Kind::Pdf;
            else if (EndsWithIgnoringCase(value, ".txt") && value.size() > 4 && !value.ends_with("/.txt"))
                target.kind = SummaryTarget::Kind::Text;
            else
                return Refused("o resumo deve ser um arquivo .pdf ou .txt: " + Quoted(value));
            o.resumo = std::move(target);
            break;
        }
        }
    }
    if (!mode)
        return Refused("informe --processamento ou --validacao");
    o.processamento = *mode;
    result.action = LoteCommandLine::Action::Run;
    return result;
}

std::string LoteVersionText()
{
    return "nfp-envio-lote " + GetVersionText() + "\n";
}

std::string LoteHelpText(const std::string& profileFile, const std::string& journalFile)
{
    return "Uso: nfp-envio-lote (--processamento | --validacao) [OPÇÃO]...\n"
           "\n"
           "Envia, sem janela e sem perguntas, os arquivos da Nota Fiscal Paulista de um\n"
           "mês de cada perfil marcado para envio, como o botão Enviar do nfp-envio:\n"
           "cada perfil com o seu usuário, senha, C.N.P.J. e categoria, os arquivos em\n"
           "ordem de nome. Cada envio fica no histórico de envios.\n"
           "\n"
           "  --processamento    envia para processamento\n"
           "  --validacao        envia só para validação (Simples Validação)\n"
           "                     (uma das duas é obrigatória)\n"
           "  --mes MÊS          o mês dos arquivos: MM/AAAA, atual ou anterior\n"
           "                     (padrão: atual)\n"
           "  --cnpj CNPJ        só este perfil, marcado ou não (pode repetir)\n"
           "  --retificar        envia como retificação (Retificar)\n"
           "  --simular          lista o que seria enviado (perfil, arquivo, tamanho)\n"
           "                     e não envia nada\n"
           "  --resumo ARQUIVO   grava o resumo do envio em ARQUIVO.pdf ou ARQUIVO.txt\n"
           "  --silencioso       mostra só as recusas, as falhas e a contagem final\n"
           "  --help             mostra esta ajuda e sai\n"
           "  --version          mostra a versão do programa e sai\n"
           "\n"
           "Na saída padrão, uma linha por arquivo (C.N.P.J., arquivo e \"aceito,\n"
           "protocolo N\", \"recusado: ...\" ou \"falha: ...\") e a contagem no fim.\n"
           "Recusas não param o envio; uma falha de transmissão ou um arquivo ilegível\n"
           "encerra o envio daquele perfil e o programa segue com o próximo.\n"
           "SIGINT ou SIGTERM param o envio entre um arquivo e outro.\n"
           "\n"
           "Código de saída: 0 todos os arquivos aceitos (ou nada a enviar), 1 algum\n"
           "arquivo recusado, 2 alguma falha, 64 uso incorreto, 75 outro envio em\n"
           "andamento.\n"
           "\n"
           "Variáveis de ambiente:\n"
           "  NFP_ENDPOINT   endereço do serviço a usar no lugar do oficial\n"
           "  NFP_CA_BUNDLE  arquivo PEM com os certificados de autoridades aceitos no\n"
           "                 lugar dos do sistema\n"
           "  NFP_JOURNAL    o arquivo do histórico de envios\n"
           "  https_proxy, http_proxy, no_proxy   o servidor proxy\n"
           "\n"
           "Perfis: " + profileFile + "\n"
           "Histórico de envios: " + journalFile + "\n"
           "Mais informações: man nfp-envio-lote\n";
}

std::string LoteUsageErrorText(const std::string& problem)
{
    return "nfp-envio-lote: " + problem + "\n"
           "Uso: nfp-envio-lote (--processamento | --validacao) [OPÇÃO]...\n"
           "Experimente 'nfp-envio-lote --help' para mais informações.\n";
}

} // namespace nfp
