#include "request_log.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

namespace nfp::servico {
namespace {

std::string Numbered(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d", n);
    return name;
}

void Entry(std::string& out, std::string_view name, std::string_view value) {
    out += name;
    out += ' ';
    out += std::to_string(value.size());
    out += '\n';
    out += value;
    out += '\n';
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
    std::string out;
    out.reserve(r.body.size() + 1024);
    Entry(out, "method", r.method);
    Entry(out, "path", r.path);
    Entry(out, "remote_port", std::to_string(r.remotePort));
    Entry(out, "tcp_nodelay", r.noDelay ? "1" : "0");
    Entry(out, "tls_resumed", r.tlsResumed ? "1" : "0");
    Entry(out, "status", std::to_string(r.status));
    std::string headers;
    for (const auto& [name, value] : r.headers) headers += name + ": " + value + "\n";
    Entry(out, "headers", headers);
    Entry(out, "body", r.body);
    if (r.fault) Entry(out, "fault", *r.fault);
    if (r.request) {
        const ServiceRequest& q = *r.request;
        Entry(out, "operation", q.operation);
        Entry(out, "usuario", q.usuario);
        Entry(out, "senha", q.senha);
        Entry(out, "cnpj", q.cnpj);
        Entry(out, "categoria", q.categoria);
        const std::pair<const char*, const char*> fields[] = {{"NomeArquivo", "nome_arquivo"},
                                                              {"ConteudoArquivo", "conteudo_arquivo"},
                                                              {"EnvioNormal", "envio_normal"},
                                                              {"Protocolo", "protocolo"}};
        for (const auto& [element, name] : fields) {
            if (const auto value = q.Field(element)) Entry(out, name, *value);
        }
    }
    if (r.result) Entry(out, "result", *r.result);
    if (r.issued) Entry(out, "issued", *r.issued);

    const std::filesystem::path aside = folder_ / ("." + Numbered(number) + ".tmp");
    {
        std::ofstream file(aside, std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!file.flush()) throw std::runtime_error("cannot write " + aside.string());
    }
    std::filesystem::rename(aside, folder_ / Numbered(number));
}

} // namespace nfp::servico
