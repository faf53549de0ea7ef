// The HTTP contract, over real TLS against a real nfp-servico-local.
#include "service/http_poster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "local_service.h"
#include "service/reply_extraction.h"
#include "service/service_envelope.h"
#include "service/service_http_error.h"

namespace nfp {
namespace {

using test_support::LocalService;
using test_support::LocalServiceFault;

const ServiceCredentials kDemo{"demo", "demo123", "11222333000181", 1};

std::string QueryRequest(const std::string& protocolo = "100000001") {
    ServiceFields fields;
    fields.Protocolo = protocolo;
    return BuildServiceEnvelope(ServiceOperation::Consultar, kDemo, fields);
}

// A valid Enviar request of exactly `size` bytes: the file's text fills the rest.
std::string SendingRequestOfSize(std::size_t size) {
    ServiceFields fields;
    fields.NomeArquivo = "a0001.j39";
    const std::size_t fixed = BuildServiceEnvelope(ServiceOperation::Enviar, kDemo, fields).size();
    const std::string content(size - fixed, 'x');
    fields.ConteudoArquivo = content;
    return BuildServiceEnvelope(ServiceOperation::Enviar, kDemo, fields);
}

std::string ExpectServiceError(THttpPoster& poster, const std::string& request, int& status) {
    try {
        poster.PostServiceRequest(request);
    } catch (const EServiceHttpError& e) {
        status = e.StatusCode();
        return e.what();
    }
    ADD_FAILURE() << "the post did not fail";
    return {};
}

// A query that fails before any HTTP status: the transport's message carries
// the URL and the SOAP action, and the status is 0. The message is returned
// for the checks of the cause.
std::string ExpectTransportError(THttpPoster& poster, const LocalService& service) {
    int status = -1;
    const std::string message = ExpectServiceError(poster, QueryRequest(), status);
    EXPECT_TRUE(message.ends_with(" - URL:" + service.Endpoint() + " - SOAPAction:\"\"")) << message;
    EXPECT_EQ(status, 0);
    return message;
}

class HttpPosterTest : public ::testing::Test {
protected:
    LocalService service;
    THttpPoster poster{service.PosterSettings()};
    std::vector<std::pair<std::int64_t, std::int64_t>> notifications;

    void SetUp() override {
        poster.OnPostingData = [this](std::int64_t sent, std::int64_t total) { notifications.emplace_back(sent, total); };
    }
};

TEST_F(HttpPosterTest, BodyOfExactly32768BytesGoesAtOnceWithoutNotification) {
    const std::string request = SendingRequestOfSize(32768);
    ASSERT_EQ(request.size(), 32768u);
    const std::string reply = poster.PostServiceRequest(request);

    EXPECT_TRUE(notifications.empty());
    EXPECT_TRUE(IsAcceptedResult(ExtractOperationResult(reply, ServiceOperation::Enviar), RegionalSettings::Brazilian()));
    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, request);
    EXPECT_EQ(requests[0].Header("Content-Length"), "32768");
}

TEST_F(HttpPosterTest, BodyOf32769BytesGoesInTwoPiecesWithTwoNotifications) {
    const std::string request = SendingRequestOfSize(32769);
    const std::string reply = poster.PostServiceRequest(request);

    const std::vector<std::pair<std::int64_t, std::int64_t>> expected = {{32768, 32769}, {32769, 32769}};
    EXPECT_EQ(notifications, expected);
    EXPECT_TRUE(IsAcceptedResult(ExtractOperationResult(reply, ServiceOperation::Enviar), RegionalSettings::Brazilian()));
    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, request);
    // Announced length, not chunked transfer.
    EXPECT_EQ(requests[0].Header("Content-Length"), "32769");
    EXPECT_FALSE(requests[0].Header("Transfer-Encoding").has_value());
}

TEST_F(HttpPosterTest, LargeBodyNotifiesEveryPieceUpToTheTotal) {
    const std::string request = SendingRequestOfSize(3 * 32768 + 100);
    poster.PostServiceRequest(request);
    const auto total = static_cast<std::int64_t>(request.size());
    const std::vector<std::pair<std::int64_t, std::int64_t>> expected = {
        {32768, total}, {65536, total}, {98304, total}, {total, total}};
    EXPECT_EQ(notifications, expected);
    EXPECT_EQ(service.Requests().at(0).body, request);
}

TEST_F(HttpPosterTest, SendsExactlyTheServiceHeaders) {
    poster.PostServiceRequest(QueryRequest());
    const auto r = service.Requests().at(0);
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.path, "/ws/arquivocf.asmx");
    EXPECT_EQ(r.Header("SOAPAction"), "\"\"");
    EXPECT_EQ(r.Header("Content-Type"), "text/xml; charset=\"utf-8\"");
    EXPECT_EQ(r.Header("User-Agent"), "Zeltra SOAP 1.1");
    EXPECT_FALSE(r.Header("Expect").has_value());
    EXPECT_FALSE(r.Header("Accept").has_value());
}

struct StatusCase {
    int status;
    const char* reason; // nullptr: the reply is returned
    const char* contentType;
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.status; }

class HttpPosterStatus : public HttpPosterTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(HttpPosterStatus, RaisesTheStatusErrorFrom300OnExcept500) {
    const StatusCase& c = GetParam();
    LocalServiceFault fault;
    fault.status = c.status;
    fault.contentType = c.contentType;
    service.SetFault(fault);
    if (c.reason) {
        int status = 0;
        EXPECT_EQ(ExpectServiceError(poster, QueryRequest(), status),
                  std::string(c.reason) + " (" + std::to_string(c.status) + ") - '" + service.Endpoint() + "'");
        EXPECT_EQ(status, c.status);
    } else {
        EXPECT_NE(poster.PostServiceRequest(QueryRequest()).find(std::to_string(c.status)), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HttpPosterStatus,
                         ::testing::Values(StatusCase{404, "Not Found", "text/html"},
                                           StatusCase{401, "Unauthorized", "text/html"},
                                           StatusCase{407, "Proxy Authentication Required", "text/html"},
                                           StatusCase{302, "Found", "text/html"},
                                           StatusCase{300, "Multiple Choice", "text/html"}, // the server's own phrase
                                           StatusCase{503, "Service Unavailable", "application/soap+xml"},
                                           StatusCase{500, nullptr, "application/soap+xml"},
                                           StatusCase{299, nullptr, "application/soap+xml"},
                                           StatusCase{202, nullptr, "text/xml"}),
                         [](const auto& info) { return std::to_string(info.param.status); });

TEST_F(HttpPosterTest, SoapFaultWithStatus500IsReturnedAsTheReply) {
    const std::string reply = poster.PostServiceRequest("<?xml version=\"1.0\"?><not-soap/>");
    EXPECT_NE(reply.find("<soap:Fault>"), std::string::npos);
    EXPECT_EQ(ExtractOperationResult(reply, ServiceOperation::Enviar), "");
    EXPECT_EQ(service.Requests().at(0).status, 500);
}

struct ContentTypeCase {
    const char* contentType;
    bool refused;
};

class HttpPosterContentType : public HttpPosterTest, public ::testing::WithParamInterface<ContentTypeCase> {};

// The real libcurl transport, watched: what reply it handed to the poster.
class WatchedTransport final : public HttpTransport {
public:
    explicit WatchedTransport(std::string& body) : body_(body) {}
    HttpReply Post(const HttpPostRequest& request) override {
        HttpReply reply = inner_->Post(request);
        body_ = reply.body;
        return reply;
    }

private:
    std::unique_ptr<HttpTransport> inner_ = MakeCurlHttpTransport();
    std::string& body_;
};

TEST_P(HttpPosterContentType, RefusesPlainTextAndHtmlAfterReadingTheBody) {
    const ContentTypeCase& c = GetParam();
    service.SetFault({.contentType = c.contentType});
    ServiceFields fields;
    fields.NomeArquivo = "a.j39";
    fields.ConteudoArquivo = "linha";
    const std::string request = BuildServiceEnvelope(ServiceOperation::Enviar, kDemo, fields);
    std::string received;
    THttpPoster poster(service.PosterSettings(), std::make_unique<WatchedTransport>(received));
    if (c.refused) {
        int status = -1;
        EXPECT_EQ(ExpectServiceError(poster, request, status),
                  std::string("Received content of invalid Content-Type setting: ") + c.contentType +
                      " - SOAP expects \"text/xml\"");
        EXPECT_EQ(status, 0);
    } else {
        const std::string reply = poster.PostServiceRequest(request);
        EXPECT_NE(reply.find("<EnviarResult>"), std::string::npos);
    }
    // Either way the exchange went through: the file was received and
    // answered, and the client read the whole reply before judging it.
    EXPECT_FALSE(service.Requests().at(0).issued.empty());
    EXPECT_NE(received.find("<EnviarResult>"), std::string::npos);
    EXPECT_TRUE(received.ends_with("</soap:Envelope>")) << received;
}

INSTANTIATE_TEST_SUITE_P(Cases, HttpPosterContentType,
                         ::testing::Values(ContentTypeCase{"text/html", true}, ContentTypeCase{"TEXT/HTML", true},
                                           ContentTypeCase{"Text/Plain", true},
                                           ContentTypeCase{"text/html; charset=utf-8", false},
                                           ContentTypeCase{"text/xml", false}),
                         [](const auto& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.contentType))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST_F(HttpPosterTest, Utf8ReplyComesBackAsTheSameBytes) {
    const std::string reply = poster.PostServiceRequest(QueryRequest("123"));
    EXPECT_EQ(ExtractOperationResult(reply, ServiceOperation::Consultar), "Arquivo de lote n\xC3\xA3o localizado.");
}

TEST_F(HttpPosterTest, TwoRequestsOpenTwoConnections) {
    poster.PostServiceRequest(QueryRequest());
    poster.PostServiceRequest(QueryRequest());
    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].remotePort, requests[1].remotePort);
}

// A fresh connection each time, but the TLS session of the last handshake
// is resumed by the next one; a session is never a way around the trust
// settings: once they no longer trust the service, the next request fails.
TEST_F(HttpPosterTest, LaterConnectionsResumeTheTlsSession) {
    for (int i = 0; i < 3; ++i) poster.PostServiceRequest(QueryRequest());
    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_FALSE(requests[0].tlsResumed);
    EXPECT_TRUE(requests[1].tlsResumed);
    EXPECT_TRUE(requests[2].tlsResumed);
    EXPECT_NE(requests[1].remotePort, requests[2].remotePort);

    HttpPosterSettings untrusting = service.PosterSettings();
    untrusting.caBundle.reset();
    poster.SetSettings(untrusting);
    int status = -1;
    EXPECT_NE(ExpectServiceError(poster, QueryRequest(), status).find("URL:"), std::string::npos);
    EXPECT_EQ(service.Requests().size(), 3u);
}

TEST(HttpPosterTransport, UntrustedCertificateFailsWithTheTransportMessage) {
    LocalService service;
    HttpPosterSettings settings = service.PosterSettings();
    settings.caBundle.reset(); // the system's CAs do not know the service's certificate
    THttpPoster poster(settings);
    const std::string message = ExpectTransportError(poster, service);
    EXPECT_NE(message.find("certificate"), std::string::npos) << message;
    EXPECT_TRUE(service.Requests().empty());
}

TEST(HttpPosterTransport, MissingCaBundleFailsWithTheTransportMessage) {
    LocalService service;
    HttpPosterSettings settings = service.PosterSettings();
    settings.caBundle = (service.DataDir() / "no-such-bundle.pem").string();
    THttpPoster poster(settings);
    const std::string message = ExpectTransportError(poster, service);
    EXPECT_NE(message.find("no-such-bundle.pem"), std::string::npos) << message;
    EXPECT_TRUE(service.Requests().empty());
}

TEST(HttpPosterTransport, RefusedConnectionFailsWithTheTransportMessage) {
    LocalService service;
    THttpPoster poster(service.PosterSettings());
    service.Stop();
    const std::string message = ExpectTransportError(poster, service);
    EXPECT_NE(message.find("onnect"), std::string::npos) << message;
}

// A proxy on loopback that answers the first request, a CONNECT for an
// https endpoint, with a refusal, and records what it was asked.
class RefusingProxy {
public:
    explicit RefusingProxy(std::string statusLine) : reply_(std::move(statusLine)) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listen_, 4) != 0 || ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            if (listen_ >= 0) ::close(listen_);
            throw std::runtime_error("the test proxy cannot listen");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { AnswerOne(); });
    }
    ~RefusingProxy() {
        ::shutdown(listen_, SHUT_RDWR); // wakes accept when nobody came
        if (thread_.joinable()) thread_.join();
        ::close(listen_);
    }
    RefusingProxy(const RefusingProxy&) = delete;
    RefusingProxy& operator=(const RefusingProxy&) = delete;

    int Port() const noexcept { return port_; }
    // The request head received; waits for the answer to have gone out.
    const std::string& Request() {
        if (thread_.joinable()) thread_.join();
        return request_;
    }

private:
    void AnswerOne() {
        const int client = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) return;
        char buffer[4096];
        while (request_.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request_.append(buffer, static_cast<std::size_t>(n));
        }
        const std::string answer = reply_ +
                                   "\r\nProxy-Authenticate: Basic realm=\"proxy\"\r\nContent-Length: 0\r\n"
                                   "Connection: close\r\n\r\n";
        (void)::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        ::close(client);
    }

    std::string reply_;
    int listen_ = -1;
    int port_ = 0;
    std::string request_;
    std::thread thread_;
};

// Sets (or, with nullopt, clears) an environment variable and restores it.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~EnvironmentVariable() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

struct ProxyRefusalCase {
    int status;
    const char* reason;
};

void PrintTo(const ProxyRefusalCase& c, std::ostream* os) { *os << c.status; }

class HttpPosterProxy : public ::testing::TestWithParam<ProxyRefusalCase> {};

TEST_P(HttpPosterProxy, ProxyRefusingTheTunnelRaisesTheStatusError) {
    const ProxyRefusalCase& c = GetParam();
    RefusingProxy proxy("HTTP/1.1 " + std::to_string(c.status) + " " + c.reason);
    const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.Port());
    const EnvironmentVariable https("https_proxy", proxyUrl);
    const EnvironmentVariable httpsUpper("HTTPS_PROXY", proxyUrl);
    const EnvironmentVariable noProxy("no_proxy", std::nullopt);
    const EnvironmentVariable noProxyUpper("NO_PROXY", std::nullopt);

    HttpPosterSettings settings;
    settings.endpoint = "https://nfp.invalid/ws/arquivocf.asmx"; // only the proxy resolves it
    THttpPoster poster(settings);
    int status = 0;
    EXPECT_EQ(ExpectServiceError(poster, QueryRequest(), status),
              std::string(c.reason) + " (" + std::to_string(c.status) + ") - '" + settings.endpoint + "'");
    EXPECT_EQ(status, c.status);
    EXPECT_TRUE(proxy.Request().starts_with("CONNECT nfp.invalid:443 ")) << proxy.Request();
}

INSTANTIATE_TEST_SUITE_P(Cases, HttpPosterProxy,
                         ::testing::Values(ProxyRefusalCase{407, "Proxy Authentication Required"},
                                           ProxyRefusalCase{403, "Forbidden"}),
                         [](const auto& info) { return std::to_string(info.param.status); });

TEST_F(HttpPosterTest, DroppedConnectionFailsWithTheTransportMessage) {
    service.SetFault({.dropConnection = true});
    ExpectTransportError(poster, service);
}

TEST_F(HttpPosterTest, ServiceThatStopsAnsweringFailsInsteadOfWaitingForever) {
    HttpPosterSettings settings = service.PosterSettings();
    settings.stallTimeout = std::chrono::seconds(1);
    THttpPoster impatient(settings);
    // Well past the time-out, so a busy machine cannot let the answer arrive first.
    service.SetFault({.delay = std::chrono::milliseconds(4000)});
    ExpectTransportError(impatient, service);
}

TEST(HttpPosterUrl, RefusesSchemesOtherThanHttpAndHttps) {
    for (const std::string url : {"ftp://127.0.0.1/ws/arquivocf.asmx", "file:///etc/passwd", "127.0.0.1/ws"}) {
        HttpPosterSettings settings;
        settings.endpoint = url;
        THttpPoster poster(settings);
        int status = -1;
        EXPECT_EQ(ExpectServiceError(poster, QueryRequest(), status),
                  "Invalid url '" + url + "' - only supports 'http' and 'https' schemes");
    }
}

TEST_F(HttpPosterTest, FaultCanSpareTheFirstRequestsAndEnd) {
    service.SetFault({.status = 503, .after = 1, .count = 1});
    EXPECT_NO_THROW(poster.PostServiceRequest(QueryRequest()));
    int status = 0;
    ExpectServiceError(poster, QueryRequest(), status);
    EXPECT_EQ(status, 503);
    EXPECT_NO_THROW(poster.PostServiceRequest(QueryRequest()));
}

TEST_F(HttpPosterTest, ExceptionFromTheProgressHandlerEndsTheExchange) {
    poster.OnPostingData = [](std::int64_t, std::int64_t) { throw std::runtime_error("cancelled"); };
    EXPECT_THROW(poster.PostServiceRequest(SendingRequestOfSize(40000)), std::runtime_error);
    // The next request is a fresh exchange and goes through.
    poster.OnPostingData = nullptr;
    EXPECT_NO_THROW(poster.PostServiceRequest(QueryRequest()));
}

} // namespace
} // namespace nfp
