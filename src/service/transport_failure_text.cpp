#include "service/transport_failure_text.h"

namespace nfp {

std::string_view TransportFailureText(TransportFailureKind kind) {
    switch (kind) {
    case TransportFailureKind::ConnectionRefused: return "Não foi possível conectar ao servidor";
    case TransportFailureKind::HostNotFound: return "O endereço do servidor não foi encontrado";
    case TransportFailureKind::NetworkUnreachable: return "A rede está indisponível ou não há caminho até o servidor";
    case TransportFailureKind::TimedOut: return "O servidor não respondeu dentro do tempo de espera";
    case TransportFailureKind::CertificateUntrusted: return "O certificado do servidor não é confiável";
    case TransportFailureKind::CertificateHostMismatch:
        return "O certificado do servidor não corresponde ao endereço acessado";
    case TransportFailureKind::TlsHandshake: return "Não foi possível estabelecer uma conexão segura com o servidor";
    case TransportFailureKind::ConnectionClosed: return "A conexão com o servidor foi interrompida";
    case TransportFailureKind::ProxyRefused: return "O servidor proxy não permitiu a conexão";
    case TransportFailureKind::Other: break;
    }
    return "Falha na comunicação com o servidor";
}

std::string TransportFailureMessage(TransportFailureKind kind, std::string_view detail) {
    std::string message(TransportFailureText(kind));
    if (!detail.empty()) {
        message += " (";
        message += detail;
        message += ")";
    }
    return message;
}

} // namespace nfp
