// Transport failures in Portuguese: the table of sentences, the classes of
// libcurl's failures, and real failures against the local service.
#include "service/curl_failure_kind.h"
#include "service/transport_failure_text.h"

#include <gtest/gtest.h>

#include <curl/curl.h>

#include <cerrno>
#include <functional>
#include <ostream>
#include <set>
#include <string>

#include "local_service.h"
#include "service/http_poster.h"
#include "service/service_envelope.h"
#include "service/service_http_error.h"

namespace nfp {
namespace {

using test_support::DemoUsers;
using test_support::LocalService;
using K = TransportFailureKind;

constexpr K kAllKinds[] = {K::ConnectionRefused, K::HostNotFound,           K::NetworkUnreachable,
                           K::TimedOut,          K::CertificateUntrusted,   K::CertificateHostMismatch,
                           K::TlsHandshake,      K::ConnectionClosed,       K::ProxyRefused,
                           K::Other};

TEST(TransportFailureText, EveryClassHasItsOwnSentence) {
    std::set<std::string_view> sentences;
    for (const K kind : kAllKinds) {
        const std::string_view text = TransportFailureText(kind);
        EXPECT_FALSE(text.empty());
        EXPECT_FALSE(text.ends_with(".")) << text;
        sentences.insert(text);
    }
    EXPECT_EQ(sentences.size(), std::size(kAllKinds));
}

TEST(TransportFailureText, DetailGoesInParenthesesAfterTheSentence) {
    EXPECT_EQ(TransportFailureMessage(K::ConnectionRefused, "Failed to connect to 127.0.0.1 port 1"),
              "Não foi possível conectar ao servidor (Failed to connect to 127.0.0.1 port 1)");
    EXPECT_EQ(TransportFailureMessage(K::Other, ""), "Falha na comunicação com o servidor");
}

struct CurlCase {
    const char* name;
    CURLcode code;
    long osErrno;
    const char* detail;
    K kind;
};

void PrintTo(const CurlCase& c, std::ostream* os) { *os << c.name; }

class CurlFailureClass : public ::testing::TestWithParam<CurlCase> {};

TEST_P(CurlFailureClass, MapsTheLibrarysResultToItsClass) {
    const CurlCase& c = GetParam();
    EXPECT_EQ(ClassifyCurlFailure(c.code, c.osErrno, c.detail), c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurlFailureClass,
    ::testing::Values(CurlCase{"refused", CURLE_COULDNT_CONNECT, ECONNREFUSED, "", K::ConnectionRefused},
                      CurlCase{"connect_other", CURLE_COULDNT_CONNECT, 0, "", K::ConnectionRefused},
                      CurlCase{"net_unreachable", CURLE_COULDNT_CONNECT, ENETUNREACH, "", K::NetworkUnreachable},
                      CurlCase{"host_unreachable", CURLE_COULDNT_CONNECT, EHOSTUNREACH, "", K::NetworkUnreachable},
                      CurlCase{"net_down", CURLE_COULDNT_CONNECT, ENETDOWN, "", K::NetworkUnreachable},
                      CurlCase{"connect_timed_out", CURLE_COULDNT_CONNECT, ETIMEDOUT, "", K::TimedOut},
                      CurlCase{"not_resolved", CURLE_COULDNT_RESOLVE_HOST, 0, "", K::HostNotFound},
                      CurlCase{"timed_out", CURLE_OPERATION_TIMEDOUT, 0, "", K::TimedOut},
                      CurlCase{"untrusted", CURLE_PEER_FAILED_VERIFICATION, 0,
                               "SSL certificate problem: self-signed certificate", K::CertificateUntrusted},
                      CurlCase{"no_name_matches", CURLE_PEER_FAILED_VERIFICATION, 0,
                               "SSL: no alternative certificate subject name matches target host name '127.0.0.1'",
                               K::CertificateHostMismatch},
                      CurlCase{"subject_mismatch", CURLE_PEER_FAILED_VERIFICATION, 0,
                               "SSL: certificate subject name 'a' does not match target host name 'b'",
                               K::CertificateHostMismatch},
                      CurlCase{"ca_file", CURLE_SSL_CACERT_BADFILE, 0, "", K::CertificateUntrusted},
                      CurlCase{"handshake", CURLE_SSL_CONNECT_ERROR, 0, "", K::TlsHandshake},
                      CurlCase{"nothing", CURLE_GOT_NOTHING, 0, "", K::ConnectionClosed},
                      CurlCase{"reset", CURLE_RECV_ERROR, ECONNRESET, "", K::ConnectionClosed},
                      CurlCase{"send", CURLE_SEND_ERROR, EPIPE, "", K::ConnectionClosed},
                      CurlCase{"partial", CURLE_PARTIAL_FILE, 0, "", K::ConnectionClosed},
                      CurlCase{"proxy_not_resolved", CURLE_COULDNT_RESOLVE_PROXY, 0, "", K::ProxyRefused},
                      CurlCase{"proxy_handshake", CURLE_PROXY, 0, "", K::ProxyRefused},
                      CurlCase{"out_of_memory", CURLE_OUT_OF_MEMORY, 0, "", K::Other}),
    [](const auto& info) { return std::string(info.param.name); });

// Real failures: the whole message the user reads is the class's sentence,
// the library's detail in parentheses, the URL and the SOAP action.
struct RealCase {
    const char* name;
    K kind;
    const char* certificateHost; // nullptr: the service's own certificate
    std::function<HttpPosterSettings(LocalService&)> prepare;
};

void PrintTo(const RealCase& c, std::ostream* os) { *os << c.name; }

class RealTransportFailure : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealTransportFailure, SaysWhatHappenedInPortuguese) {
    const RealCase& c = GetParam();
    LocalService service(DemoUsers(), c.certificateHost ? c.certificateHost : "");
    THttpPoster poster(c.prepare(service));
    ServiceFields fields;
    fields.Protocolo = "100000001";
    const std::string request =
        BuildServiceEnvelope(ServiceOperation::Consultar, {"demo", "demo123", "11222333000181", 1}, fields);
    try {
        poster.PostServiceRequest(request);
        FAIL() << "the post did not fail";
    } catch (const EServiceHttpError& e) {
        const std::string message = e.what();
        const std::string head = std::string(TransportFailureText(c.kind)) + " (";
        const std::string tail = ") - URL:" + poster.Settings().endpoint + " - SOAPAction:\"\"";
        EXPECT_TRUE(message.starts_with(head)) << message;
        EXPECT_TRUE(message.ends_with(tail)) << message;
        EXPECT_GT(message.size(), head.size() + tail.size()) << "no detail: " << message;
        EXPECT_EQ(e.StatusCode(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RealTransportFailure,
    ::testing::Values(
        RealCase{"refused_port", K::ConnectionRefused, nullptr,
                 [](LocalService& s) {
                     s.Stop();
                     return s.PosterSettings();
                 }},
        RealCase{"time_out", K::TimedOut, nullptr,
                 [](LocalService& s) {
                     HttpPosterSettings settings = s.PosterSettings();
                     settings.stallTimeout = std::chrono::seconds(1);
                     // Well past the time-out, so a busy machine cannot let the answer arrive first.
                     s.SetFault({.delay = std::chrono::milliseconds(4000)});
                     return settings;
                 }},
        RealCase{"untrusted_certificate", K::CertificateUntrusted, nullptr,
                 [](LocalService& s) {
                     HttpPosterSettings settings = s.PosterSettings();
                     settings.caBundle.reset(); // the system's CAs do not know it
                     return settings;
                 }},
        RealCase{"host_mismatch", K::CertificateHostMismatch, "outro.servidor.example",
                 [](LocalService& s) { return s.PosterSettings(); }},
        RealCase{"connection_dropped", K::ConnectionClosed, nullptr,
                 [](LocalService& s) {
                     s.SetFault({.dropConnection = true});
                     return s.PosterSettings();
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace nfp
