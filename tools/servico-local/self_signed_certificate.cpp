#include "self_signed_certificate.h"

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nfp::servico {
namespace {

struct PkeyFree { void operator()(EVP_PKEY* p) const noexcept { EVP_PKEY_free(p); } };
struct X509Free { void operator()(X509* p) const noexcept { X509_free(p); } };
struct ExtFree { void operator()(X509_EXTENSION* p) const noexcept { X509_EXTENSION_free(p); } };
struct BnFree { void operator()(BIGNUM* p) const noexcept { BN_free(p); } };
struct FileClose { void operator()(FILE* f) const noexcept { std::fclose(f); } };

[[noreturn]] void Fail(const std::string& what) {
    char reason[256] = "unknown reason";
    if (const unsigned long e = ERR_get_error()) ERR_error_string_n(e, reason, sizeof reason);
    throw std::runtime_error("certificate: " + what + ": " + reason);
}

void AddExtension(X509* cert, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    const std::unique_ptr<X509_EXTENSION, ExtFree> ext(X509V3_EXT_conf_nid(nullptr, &ctx, nid, value));
    if (!ext || !X509_add_ext(cert, ext.get(), -1)) Fail(std::string("extension ") + value);
}

// Written aside and renamed, so a half-written file is never taken for a whole one.
template <typename Write>
void WritePem(const std::filesystem::path& file, mode_t mode, Write&& write) {
    const std::filesystem::path aside = file.string() + ".tmp";
    const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0) throw std::runtime_error("certificate: cannot write " + aside.string());
    std::unique_ptr<FILE, FileClose> out(::fdopen(fd, "w"));
    if (!out) {
        ::close(fd);
        throw std::runtime_error("certificate: cannot write " + aside.string());
    }
    if (!write(out.get())) Fail("writing " + file.string());
    if (std::fflush(out.get()) != 0) throw std::runtime_error("certificate: cannot write " + aside.string());
    out.reset();
    std::filesystem::rename(aside, file);
}

} // namespace

void EnsureSelfSignedCertificate(const std::filesystem::path& certificateFile,
                                 const std::filesystem::path& keyFile) {
    if (std::filesystem::exists(certificateFile) && std::filesystem::exists(keyFile)) return;
    WriteSelfSignedCertificate(certificateFile, keyFile, "127.0.0.1", "IP:127.0.0.1,DNS:localhost");
}

void WriteSelfSignedCertificate(const std::filesystem::path& certificateFile, const std::filesystem::path& keyFile,
                                const std::string& commonName, const std::string& altNames) {
    const std::unique_ptr<EVP_PKEY, PkeyFree> key(EVP_EC_gen("P-256"));
    if (!key) Fail("key generation");

    const std::unique_ptr<X509, X509Free> cert(X509_new());
    if (!cert) Fail("X509_new");
    X509_set_version(cert.get(), 2); // v3

    const std::unique_ptr<BIGNUM, BnFree> serial(BN_new());
    if (!serial || !BN_rand(serial.get(), 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) ||
        !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())))
        Fail("serial number");

    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60 * 60);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 10L * 365 * 24 * 60 * 60);
    X509_set_pubkey(cert.get(), key.get());

    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("nfp-servico-local"),
                               -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName.c_str()), -1,
                               -1, 0);
    X509_set_issuer_name(cert.get(), name);

    AddExtension(cert.get(), NID_subject_alt_name, altNames.c_str());
    AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
    AddExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
    AddExtension(cert.get(), NID_ext_key_usage, "serverAuth");
    AddExtension(cert.get(), NID_subject_key_identifier, "hash");

    if (!X509_sign(cert.get(), key.get(), EVP_sha256())) Fail("signing");

    for (const auto& file : {certificateFile, keyFile}) {
        if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path());
    }
    WritePem(keyFile, 0600, [&](FILE* f) {
        return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
    WritePem(certificateFile, 0644, [&](FILE* f) { return PEM_write_X509(f, cert.get()) == 1; });
}

} // namespace nfp::servico
