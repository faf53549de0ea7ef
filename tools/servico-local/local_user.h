#pragma once
// The taxpayers the local service knows, read from a small text file:
// one "usuario|senha|cnpj|categoria" per line; blank lines and lines
// beginning with # are skipped. A user may appear once per CNPJ.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace nfp::servico {

struct LocalUser {
    std::string usuario;
    std::string senha;
    std::string cnpj;
    int categoria = 1;
};

// Throws std::runtime_error naming the line that does not fit.
std::vector<LocalUser> ParseUsers(std::string_view text);
std::vector<LocalUser> LoadUsersFile(const std::filesystem::path& path);

} // namespace nfp::servico
