#pragma once
// Test support: a real nfp-servico-local for one test (or fixture).
//
//   nfp::test_support::LocalService service;             // demo users, free port, own temp folder
//   nfp::THttpPoster poster(service.PosterSettings());  // trusts the service's certificate
//   const std::string reply = poster.PostServiceRequest(envelope);
//   const auto requests = service.Requests();           // what the service received, in order
//   EXPECT_EQ(requests.back().usuario, "demo");
//   service.SetFault({.status = 404});                   // misbehave from the next request on
//
// Every instance starts its own process on 127.0.0.1 with a port the service
// picks itself and a data folder made under the system's temp folder, so
// tests may run in parallel. The destructor stops the process (SIGTERM) and
// removes the folder. Construction throws std::runtime_error with the
// service's own error text when it cannot start.
//
// Accepted sendings answer "dd/mm/yyyy hh:mm:ss Protocolo NNNNNNNNN - ..."
// (date in characters 1-10, protocol in 31-39); protocols count from
// 100000001 in each instance; a Consultar finds only protocols issued to the
// same CNPJ. Refusals: "201|Usuário ou senha inválidos",
// "206|CNPJ informado inválido", "207|Categoria de usuário inválida",
// "301|Nome do arquivo não informado", "302|Arquivo vazio",
// "303|Campo obrigatório não informado: <campo>",
// "304|Valor inválido em EnvioNormal",
// "999|O protocolo informado não é um número válido", and for a Consultar of
// an unknown protocol "Arquivo de lote não localizado.". A request that is not
// a well-formed SOAP 1.2 envelope with the Autenticacao header gets status
// 500 and a SOAP fault.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

#include "service/http_poster_settings.h"

namespace nfp::test_support {

struct LocalServiceUser {
    std::string usuario;
    std::string senha;
    std::string cnpj;
    int categoria = 1; // 1 Contribuinte, 2 Contabilistas, 3 Consumidores
};

// The users of the demo (scripts/start-local-service.sh writes the same):
//   demo       demo123   11222333000181  1
//   contador   conta456  44555666000181  2
//   contador   conta456  77888999000181  2
//   consumidor cons789   12345678000195  3
std::vector<LocalServiceUser> DemoUsers();

// Fault switches, in force from the next request on (see SetFault). A
// request answered by status, result or body is not processed: no protocol
// is issued and nothing is checked.
//   service.SetFault({.status = 404});                       // 404 with a text/html page
//   service.SetFault({.result = "206|CNPJ informado inválido", .after = 1, .count = 1});
//                                                           // only the second request refused
//   service.SetFault({.contentType = "application/soap+xml", .body = "<x/>"});
//                                                           // (fields in declaration order)
struct LocalServiceFault {
    std::optional<int> status{};              // this status; alone: with a short text/html page
    std::optional<std::string> contentType{}; // this Content-Type; alone: a normal answer with it
    std::optional<std::string> result{};      // the operation's normal reply holding this result text
    std::optional<std::string> body{};        // exactly these bytes as the reply body
    std::chrono::milliseconds delay{0};       // wait this long before answering
    bool dropConnection = false;              // close the connection without an answer
    int after = 0;                            // let this many requests pass untouched first
    int count = 0;                            // affect this many requests, then switch off (0: all)
};

// One request as the service received and answered it.
struct RecordedRequest {
    int number = 0;      // 1, 2, ... in arrival order
    std::string method;  // "POST"
    std::string path;    // "/ws/arquivocf.asmx"
    int remotePort = 0;  // the client's port: different ports mean different connections
    bool noDelay = false; // the connection's socket had TCP_NODELAY set
    bool tlsResumed = false; // the TLS handshake resumed an earlier session
    int status = 0;      // HTTP status answered; 0 when the connection was dropped
    std::string headers; // "Name: value\n" per request header
    std::string body;    // the request's bytes
    std::string fault;   // the fault switches applied, "" when none

    // Set when the body was a valid request (no SOAP fault, no status fault):
    bool parsed = false;
    std::string operation; // "Enviar", "Retificar" or "Consultar"
    std::string usuario, senha, cnpj, categoria; // attribute values as read (entities decoded)
    // The operation's elements as read (entities decoded, line ends as sent);
    // nullopt when the element was absent.
    std::optional<std::string> nomeArquivo, conteudoArquivo, envioNormal, protocolo;

    std::string result; // result text answered, or the SOAP fault's reason
    std::string issued; // protocol given to an accepted file, "" otherwise

    // Value of the first request header of that name (case ignored).
    std::optional<std::string> Header(std::string_view name) const;
};

class LocalService {
public:
    explicit LocalService(std::vector<LocalServiceUser> users = DemoUsers());
    // With a certificate issued to `certificateHost` alone (a DNS name)
    // instead of 127.0.0.1 and localhost: trusted through CaBundle(), yet
    // not valid for the endpoint's address.
    LocalService(std::vector<LocalServiceUser> users, const std::string& certificateHost);
    ~LocalService();
    LocalService(const LocalService&) = delete;
    LocalService& operator=(const LocalService&) = delete;

    // https://127.0.0.1:PORT/ws/arquivocf.asmx
    const std::string& Endpoint() const noexcept { return endpoint_; }
    // The service's self-signed certificate (PEM), to be trusted as CA bundle.
    const std::filesystem::path& CaBundle() const noexcept { return caBundle_; }
    // The service's data folder (certificate, users, protocols, requests/).
    const std::filesystem::path& DataDir() const noexcept { return dataDir_; }
    int Port() const noexcept { return port_; }

    // Endpoint and CA bundle for a THttpPoster; time-outs left at their defaults.
    HttpPosterSettings PosterSettings() const;

    // Every request received so far, in arrival order. A request is listed
    // once its answer has been decided, so after PostServiceRequest returns
    // (or fails) its request is here.
    std::vector<RecordedRequest> Requests() const;

    // Switches faults for the following requests; replaces any earlier switch.
    void SetFault(const LocalServiceFault& fault);
    void ClearFault();

    // Stops the service now (the destructor does it too); the data folder stays
    // until destruction. A refused connection can be tested after this.
    void Stop();
    // Stops it and starts it again on the same data folder (certificate,
    // protocols and recorded requests kept). The port changes: take
    // Endpoint() or PosterSettings() afresh. Fault switches are reset.
    void Restart();

private:
    void Start();
    void Control(const std::string& query) const;

    std::filesystem::path dataDir_;
    std::filesystem::path caBundle_;
    std::string endpoint_;
    int port_ = 0;
    pid_t pid_ = -1;
};

} // namespace nfp::test_support
