#pragma once
// The local service's own certificate, for 127.0.0.1 and localhost, made
// once and kept in its data folder. Clients trust it by naming the
// certificate file as their CA bundle.
#include <filesystem>

namespace nfp::servico {

// Writes a new P-256 key and a self-signed certificate valid for ten years
// unless both files exist. The key file is readable by its owner only.
// Throws std::runtime_error with OpenSSL's reason.
void EnsureSelfSignedCertificate(const std::filesystem::path& certificateFile,
                                 const std::filesystem::path& keyFile);

} // namespace nfp::servico
