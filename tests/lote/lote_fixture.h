#pragma once
// What the batch command's tests share: a real local service, a throwaway
// folder holding the profile file (where XDG_CONFIG_HOME points), the
// receipt folders and the send journal, and readers for what the service
// received and what the journal kept.
#include "journal/send_journal.h"
#include "local_service.h"
#include "lote_process.h"
#include "profiles/ini_profile_store.h"
#include "profiles/profile_operations.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nfp::test {

class LoteTest : public ::testing::Test {
protected:
    LoteTest()
    {
        store.emplace((folder / "config" / "Zeltra" / "NFP.ini").string());
        service.emplace();
    }

    // A receipt file in a folder of the test's.
    std::filesystem::path Files(const std::string& name) const { return folder / "arquivos" / name; }
    void WriteFile(const std::string& folderName, const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories(Files(folderName));
        std::ofstream(Files(folderName) / name, std::ios::binary) << bytes;
    }

    // The demo users' profiles, as the profile dialog stores them.
    void SaveDemo(const std::string& folderName) { Save("11222333000181", "demo", "demo123", 0, folderName); }
    void SaveContador(const std::string& cnpj, const std::string& folderName)
    {
        Save(cnpj, "contador", "conta456", 1, folderName);
    }
    void Save(const std::string& cnpj, const std::string& usuario, const std::string& senha, int tipo,
              const std::string& folderName)
    {
        std::filesystem::create_directories(Files(folderName));
        SaveProfile(*store, cnpj, usuario, senha, tipo, Files(folderName).string() + "/");
    }

    std::filesystem::path JournalFile() const { return folder / "envios.sqlite"; }
    std::vector<JournalEntry> Journal() const
    {
        std::vector<JournalEntry> entries;
        if (!std::filesystem::exists(JournalFile()))
            return entries;
        SendJournal journal(JournalFile());
        auto rows = journal.Find();
        // Oldest first.
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            entries.push_back(it->entry);
        return entries;
    }

    // (CNPJ, file name) of every sending the service received, in order.
    std::vector<std::pair<std::string, std::string>> Sent() const
    {
        std::vector<std::pair<std::string, std::string>> sent;
        for (const auto& r : service->Requests())
            sent.emplace_back(r.cnpj, r.nomeArquivo.value_or("?"));
        return sent;
    }

    // The environment the program runs with: this test's service, profiles
    // and journal.
    std::map<std::string, std::string> Environment() const
    {
        return {{"NFP_ENDPOINT", service->Endpoint()},
                {"NFP_CA_BUNDLE", service->CaBundle().string()},
                {"NFP_JOURNAL", JournalFile().string()},
                {"XDG_CONFIG_HOME", (folder / "config").string()},
                {"XDG_DATA_HOME", (folder / "dados").string()},
                {"XDG_RUNTIME_DIR", ""},
                {"HOME", folder.string()}};
    }
    ProgramEnd Run(const std::vector<std::string>& arguments) const
    {
        return RunLoteProgram(arguments, Environment(), folder);
    }

    TempDir temp;
    const std::filesystem::path folder = temp.path();
    std::optional<IniProfileStore> store;
    std::optional<test_support::LocalService> service;
};

} // namespace nfp::test
