#include "service/curl_failure_kind.h"

#include <curl/curl.h>

#include <cerrno>

namespace nfp {

TransportFailureKind ClassifyCurlFailure(int curlCode, long osErrno, std::string_view detail) {
    using K = TransportFailureKind;
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_COULDNT_RESOLVE_HOST: return K::HostNotFound;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_PROXY: return K::ProxyRefused;
    case CURLE_COULDNT_CONNECT:
        switch (osErrno) {
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ENETDOWN:
        case EHOSTDOWN: return K::NetworkUnreachable;
        case ETIMEDOUT: return K::TimedOut;
        default: return K::ConnectionRefused;
        }
    case CURLE_OPERATION_TIMEDOUT: return K::TimedOut;
    // One code for both; only the library's words tell a name that does not
    // match ("... does not match target host name", "no alternative
    // certificate subject name matches target host name") from a chain that
    // is not trusted.
    case CURLE_PEER_FAILED_VERIFICATION:
        return detail.find("target host name") != std::string_view::npos ? K::CertificateHostMismatch
                                                                         : K::CertificateUntrusted;
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_CRL_BADFILE: return K::CertificateUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_USE_SSL_FAILED: return K::TlsHandshake;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM: return K::ConnectionClosed;
    default: return K::Other;
    }
}

} // namespace nfp
