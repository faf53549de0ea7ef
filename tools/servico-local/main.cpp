// nfp-servico-local: a stand-in for the state's file service on loopback,
// for the demo and the tests.
//
//   nfp-servico-local --data-dir DIR [--port N] [--users FILE]
//                     [--cert FILE --key FILE]
//
// DIR holds the certificate (cert.pem, key.pem, made on first start unless
// given), the users file (usuarios.txt unless --users names another), the
// issued protocols (protocolos.txt) and the recorded requests (requests/,
// see request_log.h). Port 0 or none picks a free port. Once listening it
// prints
//   NFP_ENDPOINT=https://127.0.0.1:PORT/ws/arquivocf.asmx
//   NFP_CA_BUNDLE=/absolute/path/cert.pem
// on standard output and writes the same two lines, shell-quoted, to
// DIR/endpoint.env. Fault switches: POST /control/fault (fault_switch.h).
// SIGTERM or SIGINT stop it cleanly.
#include <httplib.h>

#include <openssl/ssl.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/socket.h>

#include "fault_switch.h"
#include "file_service.h"
#include "local_user.h"
#include "protocol_store.h"
#include "request_log.h"
#include "self_signed_certificate.h"
#include "soap_reply.h"
#include "soap_request.h"

namespace fs = std::filesystem;
using namespace nfp::servico;

namespace {

constexpr const char* kServicePath = "/ws/arquivocf.asmx";

struct Options {
    fs::path dataDir;
    int port = 0;
    fs::path users;
    fs::path cert;
    fs::path key;
};

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "nfp-servico-local: " << problem << "\n"
              << "usage: nfp-servico-local --data-dir DIR [--port N] [--users FILE] [--cert FILE --key FILE]\n";
    std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--data-dir") o.dataDir = value();
        else if (arg == "--port") {
            const std::string v = value();
            try {
                std::size_t used = 0;
                o.port = std::stoi(v, &used);
                if (used != v.size() || o.port < 0 || o.port > 65535) throw std::out_of_range(v);
            } catch (const std::exception&) {
                Usage("--port needs a number from 0 to 65535");
            }
        } else if (arg == "--users") o.users = value();
        else if (arg == "--cert") o.cert = value();
        else if (arg == "--key") o.key = value();
        else Usage("unknown option " + arg);
    }
    if (o.dataDir.empty()) Usage("--data-dir is required");
    if (o.cert.empty() != o.key.empty()) Usage("--cert and --key go together");
    fs::create_directories(o.dataDir);
    o.dataDir = fs::canonical(o.dataDir);
    if (o.users.empty()) o.users = o.dataDir / "usuarios.txt";
    if (o.cert.empty()) {
        o.cert = o.dataDir / "cert.pem";
        o.key = o.dataDir / "key.pem";
        EnsureSelfSignedCertificate(o.cert, o.key);
    }
    o.cert = fs::absolute(o.cert);
    o.key = fs::absolute(o.key);
    return o;
}

std::string ShellQuoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

void WriteEndpointFile(const fs::path& file, const std::string& endpoint, const fs::path& cert) {
    const fs::path aside = file.string() + ".tmp";
    {
        std::ofstream out(aside, std::ios::trunc);
        out << "NFP_ENDPOINT=" << ShellQuoted(endpoint) << "\n"
            << "NFP_CA_BUNDLE=" << ShellQuoted(cert.string()) << "\n";
    }
    fs::rename(aside, file);
}

// Drops the client's connection without an answer.
void DropConnection(const httplib::Request& req) {
    if (req.ssl) {
        const int fd = SSL_get_fd(req.ssl);
        if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
    }
}

// The listening socket's options; the sockets it accepts inherit them. A
// reply's head and body go out as two writes: without TCP_NODELAY the body
// waits for the client's delayed acknowledgement of the head (about 40 ms).
// SO_REUSEADDR lets a restart take the same port while old connections
// linger; no SO_REUSEPORT, so two services never share a port.
void ListeningSocketOptions(int fd) {
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

bool HasNoDelay(const httplib::Request& req) {
    const int fd = req.ssl ? SSL_get_fd(req.ssl) : -1;
    int on = 0;
    socklen_t size = sizeof on;
    return fd >= 0 && ::getsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, &size) == 0 && on != 0;
}

ExchangeRecord RecordOf(const httplib::Request& req) {
    ExchangeRecord r;
    r.method = req.method;
    r.path = req.path;
    r.remotePort = req.remote_port;
    r.noDelay = HasNoDelay(req);
    r.tlsResumed = req.ssl != nullptr && SSL_session_reused(req.ssl) == 1;
    for (const auto& [name, value] : req.headers) {
        if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT") continue;
        r.headers.emplace_back(name, value);
    }
    r.body = req.body;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options options = ParseOptions(argc, argv);
        const std::vector<LocalUser> users = LoadUsersFile(options.users);
        const fs::path protocolsFile = options.dataDir / "protocolos.txt";
        FileService service(users, LoadProtocols(protocolsFile), [] { return std::chrono::system_clock::now(); });
        RequestLog log(options.dataDir / "requests");
        FaultSwitch faults;

        // Signals are taken by one thread with sigwait; every other thread,
        // the server's pool included, has them blocked.
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGTERM);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
        std::signal(SIGPIPE, SIG_IGN);

        httplib::SSLServer server(options.cert.c_str(), options.key.c_str());
        if (!server.is_valid()) throw std::runtime_error("cannot load the certificate " + options.cert.string());
        server.set_socket_options(ListeningSocketOptions);
        // As a web server does, keep a connection for many requests (the library's default is 5).
        server.set_keep_alive_max_count(1000);

        std::mutex protocolsMutex;
        server.Post(kServicePath, [&](const httplib::Request& req, httplib::Response& res) {
            ExchangeRecord record = RecordOf(req);
            const std::optional<FaultSettings> fault = faults.Next();
            if (fault) record.fault = DescribeFault(*fault);
            if (fault && fault->delay.count() > 0) std::this_thread::sleep_for(fault->delay);
            if (fault && fault->drop) {
                log.Record(record);
                DropConnection(req);
                return;
            }
            if (fault && (fault->status || fault->result || fault->body)) {
                res.status = fault->status.value_or(200);
                std::string defaultType(kSoapContentType);
                if (fault->body) {
                    res.body = *fault->body;
                } else if (fault->result) {
                    // The reply the request's operation would get, with the text asked for.
                    std::string operation = "Enviar";
                    try {
                        operation = ParseServiceRequest(req.body).operation;
                    } catch (const SoapFault&) {
                    }
                    res.body = ResultEnvelope(operation, *fault->result);
                    record.result = *fault->result;
                } else {
                    res.body = "<html><body><h1>" + std::to_string(res.status) + "</h1></body></html>";
                    defaultType = "text/html";
                }
                res.set_header("Content-Type", fault->contentType.value_or(defaultType));
                record.status = res.status;
                log.Record(record);
                return;
            }
            std::string contentType(kSoapContentType);
            try {
                ServiceRequest request = ParseServiceRequest(req.body);
                std::optional<IssuedProtocol> issued;
                const std::string result = service.Answer(request, issued);
                if (issued) {
                    const std::lock_guard lock(protocolsMutex);
                    AppendProtocol(protocolsFile, *issued);
                    record.issued = issued->protocolo;
                }
                res.status = 200;
                res.body = ResultEnvelope(request.operation, result);
                record.request = std::move(request);
                record.result = result;
            } catch (const SoapFault& f) {
                res.status = 500;
                res.body = FaultEnvelope(f.Code(), f.what());
                record.result = f.what();
            }
            if (fault && fault->contentType) contentType = *fault->contentType;
            res.set_header("Content-Type", contentType);
            record.status = res.status;
            log.Record(record);
        });
        server.Post("/control/fault", [&](const httplib::Request& req, httplib::Response& res) {
            std::multimap<std::string, std::string> params(req.params.begin(), req.params.end());
            try {
                if (params.empty()) {
                    faults.Set(std::nullopt);
                    res.set_content("no fault\n", "text/plain");
                } else {
                    const FaultSettings f = ParseFaultSettings(params);
                    faults.Set(f);
                    res.set_content("fault " + DescribeFault(f) + "\n", "text/plain");
                }
            } catch (const std::invalid_argument& e) {
                res.status = 400;
                res.set_content(std::string(e.what()) + "\n", "text/plain");
            }
        });

        const std::string host = "127.0.0.1";
        const int port = options.port == 0 ? server.bind_to_any_port(host) : server.bind_to_port(host, options.port)
                                                                                  ? options.port
                                                                                  : -1;
        if (port <= 0) throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(options.port));
        const std::string endpoint = "https://" + host + ":" + std::to_string(port) + kServicePath;
        WriteEndpointFile(options.dataDir / "endpoint.env", endpoint, options.cert);
        std::cout << "NFP_ENDPOINT=" << endpoint << "\n"
                  << "NFP_CA_BUNDLE=" << options.cert.string() << std::endl;

        std::thread stopper([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            server.stop();
        });
        const bool listened = server.listen_after_bind();
        // Wake the stopper if the server ended by itself.
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
        return listened ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "nfp-servico-local: " << e.what() << std::endl;
        return 1;
    }
}
