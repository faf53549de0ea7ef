#include "request_log.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace nfp::servico {
namespace {

void WriteFile(const std::filesystem::path& file, std::string_view content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string Numbered(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d", n);
    return name;
}

} // namespace

RequestLog::RequestLog(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::filesystem::create_directories(folder_);
    // Continue after the requests of an earlier run in the same folder.
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 6 && name.find_first_not_of("0123456789") == std::string::npos)
            next_ = std::max(next_, std::stoi(name) + 1);
    }
}

void RequestLog::Record(const ExchangeRecord& r) {
    int number = 0;
    {
        const std::lock_guard lock(mutex_);
        number = next_++;
    }
    const std::filesystem::path aside = folder_ / ("." + Numbered(number) + ".tmp");
    std::filesystem::create_directories(aside);
    WriteFile(aside / "method", r.method);
    WriteFile(aside / "path", r.path);
    WriteFile(aside / "remote_port", std::to_string(r.remotePort));
    WriteFile(aside / "tcp_nodelay", r.noDelay ? "1" : "0");
    WriteFile(aside / "status", std::to_string(r.status));
    std::string headers;
    for (const auto& [name, value] : r.headers) headers += name + ": " + value + "\n";
    WriteFile(aside / "headers", headers);
    WriteFile(aside / "body", r.body);
    if (r.fault) WriteFile(aside / "fault", *r.fault);
    if (r.result) WriteFile(aside / "result", *r.result);
    if (r.issued) WriteFile(aside / "issued", *r.issued);
    if (r.request) {
        const ServiceRequest& q = *r.request;
        WriteFile(aside / "operation", q.operation);
        WriteFile(aside / "usuario", q.usuario);
        WriteFile(aside / "senha", q.senha);
        WriteFile(aside / "cnpj", q.cnpj);
        WriteFile(aside / "categoria", q.categoria);
        const std::pair<const char*, const char*> fields[] = {{"NomeArquivo", "nome_arquivo"},
                                                              {"ConteudoArquivo", "conteudo_arquivo"},
                                                              {"EnvioNormal", "envio_normal"},
                                                              {"Protocolo", "protocolo"}};
        for (const auto& [element, file] : fields) {
            if (const auto value = q.Field(element)) WriteFile(aside / file, *value);
        }
    }
    std::filesystem::rename(aside, folder_ / Numbered(number));
}

} // namespace nfp::servico
