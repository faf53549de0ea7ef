#include "local_user.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "split_fields.h"

namespace nfp::servico {

std::vector<LocalUser> ParseUsers(std::string_view text) {
    std::vector<LocalUser> users;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const std::vector<std::string_view> fields = SplitFields(line, '|');
        LocalUser user;
        const auto bad = [&] {
            return std::runtime_error("users file, line " + std::to_string(lineNumber) +
                                      ": expected usuario|senha|cnpj|categoria (1 to 3)");
        };
        if (fields.size() != 4) throw bad();
        user.usuario = fields[0];
        user.senha = fields[1];
        user.cnpj = fields[2];
        const auto r = std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), user.categoria);
        if (r.ec != std::errc{} || r.ptr != fields[3].data() + fields[3].size() || user.categoria < 1 ||
            user.categoria > 3 || user.usuario.empty() || user.cnpj.empty())
            throw bad();
        users.push_back(std::move(user));
    }
    return users;
}

std::vector<LocalUser> LoadUsersFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read the users file " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return ParseUsers(text.str());
}

} // namespace nfp::servico
