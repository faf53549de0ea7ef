// nfp-demo-setup: prepares the demo of the run command. Writes two demo
// profiles into a throwaway profile file and gives each profile's folder
// receipt files of the current month, so one click on Enviar sends both,
// and of the month before, which the batch command's monthly unit sends.
//
//   nfp-demo-setup <profile file> <folder for the receipt files>
#include "profiles/ini_profile_store.h"
#include "profiles/profile_operations.h"
#include "sending/local_moment.h"
#include "util/date_code.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

struct DemoProfile {
    const char* cnpj;
    const char* usuario;
    const char* senha;
    int tipo; // radio position: 0 Contribuinte, 1 Contabilistas
    const char* folder;
    int files;
};

// The same users the local service knows in the demo.
constexpr DemoProfile kProfiles[] = {
    {"11222333000181", "demo", "demo123", 0, "demo", 2},
    {"44555666000181", "contador", "conta456", 1, "contador", 1},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: nfp-demo-setup <profile file> <folder for the receipt files>\n";
        return 2;
    }
    namespace fs = std::filesystem;
    try {
        const fs::path files = fs::absolute(argv[2]);
        using namespace std::chrono;
        const nfp::LocalMoment today = nfp::SystemLocalNow();
        const std::string code = nfp::DateToCode(today.date);
        const year_month previous = today.date.year() / today.date.month() - months{1};
        const std::string previousCode = nfp::DateToCode(nfp::Date{previous / day{5}});
        fs::create_directories(fs::path(argv[1]).parent_path());
        nfp::IniProfileStore store(argv[1]);
        for (const auto& p : kProfiles) {
            const fs::path folder = files / p.folder;
            fs::create_directories(folder);
            for (const std::string& month : {code, previousCode}) {
                for (int i = 1; i <= p.files; ++i) {
                    const std::string name = "CF" + std::to_string(i) + std::string(p.cnpj).substr(0, 4) + "." + month;
                    std::ofstream out(folder / name, std::ios::binary);
                    out << "E01|" << p.cnpj << "|CUPOM DEMONSTRACAO " << i << "\r\n"
                        << "E14|" << i << "|10,00\r\n";
                }
            }
            nfp::SaveProfile(store, p.cnpj, p.usuario, p.senha, p.tipo, folder.string() + "/");
        }
        std::cout << "Demo profiles in " << argv[1] << ", receipt files (*." << code << ", and *." << previousCode
                  << " of the month before) in " << files.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "nfp-demo-setup: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
