#pragma once
// What the user reads when an exchange fails before any HTTP status: one
// Portuguese sentence per class of failure, the client library's own words
// kept after it in parentheses for whoever has to look closer.
#include <string>
#include <string_view>

namespace nfp {

enum class TransportFailureKind {
    ConnectionRefused,       // nothing listens there, or the connection was not accepted
    HostNotFound,            // the server's name does not resolve
    NetworkUnreachable,      // no route to the server, or the network is down
    TimedOut,                // connecting or waiting for data took too long
    CertificateUntrusted,    // the server's certificate chain is not trusted
    CertificateHostMismatch, // a trusted certificate issued for another name
    TlsHandshake,            // the secure connection could not be set up
    ConnectionClosed,        // reset, or closed before the answer was whole
    ProxyRefused,            // the proxy could not be reached or refused to pass
    Other,
};

// The sentence of one class, without a final full stop.
std::string_view TransportFailureText(TransportFailureKind kind);

// "<sentence> (<detail>)", or the sentence alone when there is no detail.
std::string TransportFailureMessage(TransportFailureKind kind, std::string_view detail);

} // namespace nfp
