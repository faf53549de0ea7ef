#include "protocol_store.h"

#include <fstream>
#include <string>

#include "split_fields.h"

namespace nfp::servico {
namespace {

std::string OneField(std::string s) {
    for (char& c : s) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return s;
}

} // namespace

std::vector<IssuedProtocol> LoadProtocols(const std::filesystem::path& file) {
    std::vector<IssuedProtocol> protocols;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string_view> f = SplitFields(line, '\t');
        if (f.size() != 7) continue;
        IssuedProtocol p;
        p.protocolo = f[0];
        p.cnpj = f[1];
        p.nomeArquivo = f[2];
        p.operation = f[3];
        p.envioNormal = f[4] == "1";
        try {
            p.lineCount = std::stoul(std::string(f[5]));
        } catch (const std::exception&) {
            continue;
        }
        p.when = f[6];
        protocols.push_back(std::move(p));
    }
    return protocols;
}

void AppendProtocol(const std::filesystem::path& file, const IssuedProtocol& p) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << OneField(p.protocolo) << '\t' << OneField(p.cnpj) << '\t' << OneField(p.nomeArquivo) << '\t'
        << OneField(p.operation) << '\t' << (p.envioNormal ? "1" : "0") << '\t' << p.lineCount << '\t'
        << OneField(p.when) << '\n';
}

} // namespace nfp::servico
