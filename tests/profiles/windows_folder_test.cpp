// Where a folder named on Windows lands below the base folder.
#include "profiles/windows_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace nfp {
namespace {

using Disk = std::map<std::string, std::vector<std::string>>;

SubfolderNames On(const Disk& disk) {
    return [disk](const std::string& folder) {
        const auto found = disk.find(folder);
        return found == disk.end() ? std::vector<std::string>{} : found->second;
    };
}

TEST(MapWindowsFolder, Table) {
    struct Case {
        const char* windows;
        const char* base;
        Disk disk;
        const char* mapped;
    };
    const Case cases[] = {
        {"C:\\NFP\\LOJA1\\", "/home/u/", {}, "/home/u/NFP/LOJA1/"},
        {"C:\\NFP\\LOJA1", "/home/u", {}, "/home/u/NFP/LOJA1/"},
        // The letter case of folders that exist.
        {"C:\\NFP\\LOJA1\\", "/home/u/", {{"/home/u/", {"nfp"}}, {"/home/u/nfp/", {"Loja1", "loja2"}}},
         "/home/u/nfp/Loja1/"},
        {"C:\\NFP\\LOJA1\\", "/home/u/", {{"/home/u/", {"nfp", "NFP"}}, {"/home/u/NFP/", {"LOJA1"}}},
         "/home/u/NFP/LOJA1/"},
        {"C:\\nfp\\", "/home/u/", {{"/home/u/", {"nfp", "Nfp"}}}, "/home/u/nfp/"},
        {"C:\\NfP\\", "/home/u/", {{"/home/u/", {"nfp", "Nfp"}}}, "/home/u/Nfp/"},
        {"C:\\NFP\\LOJA1\\", "/home/u/", {{"/home/u/", {"nfp"}}, {"/home/u/nfp/", {"outra"}}},
         "/home/u/nfp/LOJA1/"},
        // Below a folder that does not exist nothing is looked up.
        {"C:\\X\\LOJA1\\", "/home/u/", {{"/home/u/", {"nfp"}}, {"/home/u/X/", {"loja1"}}}, "/home/u/X/LOJA1/"},
        {"C:\\Contábil\\AÇÃO\\", "/dados/", {{"/dados/", {"CONTÁBIL"}}, {"/dados/CONTÁBIL/", {"ação"}}},
         "/dados/CONTÁBIL/ação/"},
        // Volumes and prefixes.
        {"\\\\servidor\\dados\\NFP\\", "/b/", {}, "/b/NFP/"},
        {"\\\\?\\C:\\NFP", "/b/", {}, "/b/NFP/"},
        {"\\\\?\\UNC\\srv\\share\\X\\", "/b/", {}, "/b/X/"},
        {"d:NFP", "/b/", {}, "/b/NFP/"},
        {"NFP\\LOJA1", "/b/", {}, "/b/NFP/LOJA1/"},
        {"C:/NFP/Loja", "/b/", {}, "/b/NFP/Loja/"},
        // Dots and empty components.
        {"C:\\NFP\\..\\Outra\\.\\X\\\\Y\\", "/b/", {}, "/b/Outra/X/Y/"},
        {"C:\\..\\..\\X", "/b/", {}, "/b/X/"},
        {"C:\\", "/b/", {}, "/b/"},
        {"", "/b/", {}, "/b/"},
        {"C:\\NFP\\", "", {}, "/NFP/"},
    };
    for (const Case& c : cases) EXPECT_EQ(MapWindowsFolder(c.windows, c.base, On(c.disk)), c.mapped) << c.windows;
}

TEST(MapWindowsFolder, WithoutADiskTheNamesStay) {
    EXPECT_EQ(MapWindowsFolder("C:\\NFP\\", "/b/", nullptr), "/b/NFP/");
}

TEST(FoldedCase, LatinLettersOfWindows1252) {
    EXPECT_EQ(FoldedCase("AÇÃO Contábil"), "ação contábil");
    EXPECT_EQ(FoldedCase("ŠŒŽŸ"), "šœžÿ");
    EXPECT_EQ(FoldedCase("×ÞÀ"), "×þà");
    EXPECT_EQ(FoldedCase("Ωmega"), "Ωmega");
    EXPECT_EQ(FoldedCase(std::string("A\xFF" "B", 3)), std::string("a\xFF" "b", 3));
}

} // namespace
} // namespace nfp
