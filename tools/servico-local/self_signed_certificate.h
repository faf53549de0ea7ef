#pragma once
// The local service's own certificate, for 127.0.0.1 and localhost, made
// once and kept in its data folder. Clients trust it by naming the
// certificate file as their CA bundle.
#include <filesystem>
#include <string>

namespace nfp::servico {

// A new P-256 key and a self-signed certificate valid for ten years, issued
// to `commonName` with the subject alternative names `altNames` (OpenSSL's
// notation, "IP:127.0.0.1,DNS:localhost"). Replaces both files. The key file
// is readable by its owner only. Throws std::runtime_error with OpenSSL's
// reason.
void WriteSelfSignedCertificate(const std::filesystem::path& certificateFile, const std::filesystem::path& keyFile,
                                const std::string& commonName, const std::string& altNames);

// The certificate for 127.0.0.1 and localhost, written unless both files
// exist.
void EnsureSelfSignedCertificate(const std::filesystem::path& certificateFile,
                                 const std::filesystem::path& keyFile);

} // namespace nfp::servico
