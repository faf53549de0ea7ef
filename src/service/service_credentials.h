#pragma once
// Who a request speaks for: taken from the login panel each time a request
// is built, so that every request carries the credentials shown at that moment.
#include <string>

namespace nfp {

struct ServiceCredentials {
    std::string Usuario;   // UTF-8, unchanged and not trimmed
    std::string Senha;     // UTF-8, unchanged
    std::string CNPJ;      // UTF-8, unchanged
    int CategoriaUsuario = 0; // 1 Contribuinte, 2 Contabilistas, 3 Consumidores, 0 none chosen
};

} // namespace nfp
