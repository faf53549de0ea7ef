#pragma once
// The answers of the local stand-in for the state's file service. Refusals
// are a code, "|" and a message, never beginning with a date. An accepted
// file gets "dd/mm/yyyy hh:mm:ss Protocolo NNNNNNNNN - <status>", so that
// characters 1 to 10 are the date and 31 to 39 the protocol number.
// Protocols are numbered from 100000001 and kept per CNPJ: a query with
// another taxpayer's credentials does not find them.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "local_user.h"
#include "soap_request.h"

namespace nfp::servico {

struct IssuedProtocol {
    std::string protocolo;
    std::string cnpj;
    std::string nomeArquivo;
    std::string operation; // Enviar or Retificar
    bool envioNormal = false;
    std::size_t lineCount = 0;
    std::string when; // "dd/mm/yyyy hh:mm:ss"
};

class FileService {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    FileService(std::vector<LocalUser> users, std::vector<IssuedProtocol> issued, Clock clock);

    // The result text for a parsed request. `issued` receives the protocol
    // an accepted file got.
    std::string Answer(const ServiceRequest& request, std::optional<IssuedProtocol>& issued);

private:
    std::string Send(const ServiceRequest& request, std::optional<IssuedProtocol>& issued);
    std::string Query(const ServiceRequest& request) const;

    const std::vector<LocalUser> users_;
    const Clock clock_;
    mutable std::mutex mutex_;
    std::vector<IssuedProtocol> issued_;
    std::uint64_t nextProtocol_ = 100000001;
};

} // namespace nfp::servico
