#pragma once
// Every request the service receives is written to its data folder, for
// tests and curious people to read:
//   requests/000001    one file per request, numbered from 1, complete
//                      before the reply leaves (written aside, then renamed)
// holding one entry per value, in this order (an entry is absent when the
// value is):
//   method path remote_port tcp_nodelay tls_resumed status headers body fault
//   operation usuario senha cnpj categoria
//   nome_arquivo conteudo_arquivo envio_normal protocolo   (elements as read)
//   result      the result text answered, or the fault's reason
//   issued      the protocol given to an accepted file
// An entry is a line "NAME LENGTH", the value's LENGTH bytes as they are,
// and a line feed. "headers" holds one "Name: value" line per request
// header; "body" the request's bytes; "remote_port" the client's port, which
// tells connections apart; "tcp_nodelay" 1 when the connection's socket had
// TCP_NODELAY set; "tls_resumed" 1 when the TLS handshake resumed an
// earlier session. One file rather than one per value: creating files is
// the costliest part of answering on some disks.
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "soap_request.h"

namespace nfp::servico {

struct ExchangeRecord {
    std::string method;
    std::string path;
    int remotePort = 0;
    bool noDelay = false;
    bool tlsResumed = false;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    int status = 0;
    std::optional<ServiceRequest> request;
    std::optional<std::string> result;
    std::optional<std::string> issued;
    std::optional<std::string> fault;
};

class RequestLog {
public:
    explicit RequestLog(std::filesystem::path folder);
    void Record(const ExchangeRecord& record);

private:
    const std::filesystem::path folder_;
    std::mutex mutex_;
    int next_ = 1;
};

} // namespace nfp::servico
