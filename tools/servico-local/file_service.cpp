#include "file_service.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace nfp::servico {
namespace {

std::string LocalDateTime(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[96];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", tm.tm_mday, tm.tm_mon + 1,
                  tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::size_t CountLines(std::string_view text) {
    if (text.empty()) return 0;
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++lines;
    }
    const char last = text.back();
    return last == '\n' || last == '\r' ? lines : lines + 1;
}

} // namespace

FileService::FileService(std::vector<LocalUser> users, std::vector<IssuedProtocol> issued, Clock clock)
    : users_(std::move(users)), clock_(std::move(clock)), issued_(std::move(issued)) {
    for (const auto& p : issued_) {
        if (AllDigits(p.protocolo)) nextProtocol_ = std::max<std::uint64_t>(nextProtocol_, std::stoull(p.protocolo) + 1);
    }
}

std::string FileService::Answer(const ServiceRequest& request, std::optional<IssuedProtocol>& issued) {
    const bool knownUser = std::any_of(users_.begin(), users_.end(), [&](const LocalUser& u) {
        return u.usuario == request.usuario && u.senha == request.senha;
    });
    if (!knownUser) return "201|Usuário ou senha inválidos";
    const auto user = std::find_if(users_.begin(), users_.end(), [&](const LocalUser& u) {
        return u.usuario == request.usuario && u.senha == request.senha && u.cnpj == request.cnpj;
    });
    if (user == users_.end()) return "206|CNPJ informado inválido";
    if (request.categoria != std::to_string(user->categoria)) return "207|Categoria de usuário inválida";

    if (request.operation == "Consultar") return Query(request);
    return Send(request, issued);
}

std::string FileService::Send(const ServiceRequest& request, std::optional<IssuedProtocol>& issued) {
    for (const char* name : {"NomeArquivo", "ConteudoArquivo", "EnvioNormal"}) {
        if (!request.Field(name)) return std::string("303|Campo obrigatório não informado: ") + name;
    }
    const std::string nome = *request.Field("NomeArquivo");
    const std::string conteudo = *request.Field("ConteudoArquivo");
    const std::string envioNormal = *request.Field("EnvioNormal");
    if (nome.find_first_not_of(" \t\r\n") == std::string::npos) return "301|Nome do arquivo não informado";
    if (conteudo.empty()) return "302|Arquivo vazio";
    if (envioNormal != "true" && envioNormal != "false") return "304|Valor inválido em EnvioNormal";

    IssuedProtocol p;
    p.cnpj = request.cnpj;
    p.nomeArquivo = nome;
    p.operation = request.operation;
    p.envioNormal = envioNormal == "true";
    p.lineCount = CountLines(conteudo);
    p.when = LocalDateTime(clock_());
    {
        const std::lock_guard lock(mutex_);
        p.protocolo = std::to_string(nextProtocol_++);
        issued_.push_back(p);
    }
    const char* status = request.operation == "Retificar" ? "Retificação recebida com sucesso"
                         : p.envioNormal                  ? "Arquivo recebido com sucesso"
                                                          : "Arquivo validado com sucesso (simples validação)";
    issued = p;
    return p.when + " Protocolo " + p.protocolo + " - " + status;
}

std::string FileService::Query(const ServiceRequest& request) const {
    const auto protocolo = request.Field("Protocolo");
    if (!protocolo) return "303|Campo obrigatório não informado: Protocolo";
    if (!AllDigits(*protocolo)) return "999|O protocolo informado não é um número válido";
    std::optional<IssuedProtocol> found;
    {
        const std::lock_guard lock(mutex_);
        const auto it = std::find_if(issued_.begin(), issued_.end(), [&](const IssuedProtocol& p) {
            return p.protocolo == *protocolo && p.cnpj == request.cnpj;
        });
        if (it != issued_.end()) found = *it;
    }
    if (!found) return "Arquivo de lote não localizado.";
    return "Protocolo " + found->protocolo + " - arquivo " + found->nomeArquivo + " recebido em " + found->when +
           (found->envioNormal ? " - Processado: " : " - Validado: ") + std::to_string(found->lineCount) +
           " linha(s), nenhum erro encontrado.";
}

} // namespace nfp::servico
