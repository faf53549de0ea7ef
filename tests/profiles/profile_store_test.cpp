#include "profiles/ini_profile_store.h"
#include "profiles/profile_codec.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_table.h"
#include "util/text_codec.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace nfp {
namespace {

struct Profile {
    std::string cnpj, usuario, senha;
    std::int32_t tipo;
    std::string caminho;
};

// Every test gets its own configuration folder, as the program sees it.
class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        config_ = home_.path() + "/config";
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", config_.toUtf8().constData(), 1), 0);
        ini_ = config_ + "/Zeltra/NFP.ini";
    }
    void TearDown() override {
        if (!immutable_.isEmpty()) SetImmutable(immutable_, false);
    }

    IniProfileStore Store() const { return IniProfileStore(IniProfileStore::DefaultFilePath()); }

    void Save(const Profile& p) {
        IniProfileStore store = Store();
        SaveProfile(store, p.cnpj, p.usuario, p.senha, p.tipo, p.caminho);
    }

    std::vector<Profile> Load(std::vector<ProfileLoadFailure>* failures = nullptr) {
        MemoryTable table(ProfileTableLayout());
        IniProfileStore store = Store();
        const auto f = LoadProfiles(store, table);
        if (failures) *failures = f;
        else EXPECT_TRUE(f.empty());
        std::vector<Profile> rows;
        for (table.First(); !table.Eof(); table.Next()) {
            EXPECT_EQ(table.FieldText("ENVIAR"), "S");
            rows.push_back({table.FieldText("CNPJ"), table.FieldText("USUARIO"), table.FieldText("SENHA"),
                            table.FieldInt("TIPO"), table.FieldText("CAMINHO")});
        }
        return rows;
    }

    QByteArray FileBytes() const {
        QFile f(ini_);
        if (!f.open(QIODevice::ReadOnly)) return "<none>";
        return f.readAll();
    }

    void WriteFile(const QByteArray& text) {
        QDir().mkpath(QFileInfo(ini_).absolutePath());
        QFile f(ini_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    // A stored value as QSettings reads it, from a fresh copy of the file.
    QVariant Raw(const QString& key) const {
        QTemporaryFile copy(home_.path() + "/raw.XXXXXX");
        EXPECT_TRUE(copy.open());
        copy.write(FileBytes());
        copy.close();
        QSettings s(copy.fileName(), QSettings::IniFormat);
        return s.value(key);
    }

    // How the file writes a byte array value.
    QByteArray IniValueText(const QByteArray& bytes) const {
        QTemporaryFile scratch(home_.path() + "/scratch.XXXXXX");
        EXPECT_TRUE(scratch.open());
        scratch.close();
        {
            QSettings s(scratch.fileName(), QSettings::IniFormat);
            s.setValue("v", bytes);
        }
        QFile f(scratch.fileName());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("v=")) return line.mid(2);
        return {};
    }

    // Makes a folder refuse new entries, even to root; false when this
    // machine cannot.
    bool MakeUnwritable(const QString& folder) {
        if (geteuid() != 0) {
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            return true;
        }
        if (!SetImmutable(folder, true)) return false;
        immutable_ = folder;
        return true;
    }
    bool SetImmutable(const QString& folder, bool on) {
        const std::string cmd = std::string("chattr ") + (on ? "+i" : "-i") + " '" + folder.toStdString() +
                                "' 2>/dev/null";
        return std::system(cmd.c_str()) == 0;
    }
    void MakeWritableAgain(const QString& folder) {
        if (!immutable_.isEmpty()) {
            SetImmutable(immutable_, false);
            immutable_.clear();
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    QTemporaryDir home_;
    QString config_, ini_, immutable_;
};

void ExpectSame(const std::vector<Profile>& got, const std::vector<Profile>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].cnpj, want[i].cnpj) << i;
        EXPECT_EQ(got[i].usuario, want[i].usuario) << i;
        EXPECT_EQ(got[i].senha, want[i].senha) << i;
        EXPECT_EQ(got[i].tipo, want[i].tipo) << i;
        EXPECT_EQ(got[i].caminho, want[i].caminho) << i;
    }
}

TEST_F(ProfileStoreTest, FileLivesInTheUsersConfigFolder) {
    EXPECT_EQ(QString::fromStdString(IniProfileStore::DefaultFilePath()), ini_);
}

TEST_F(ProfileStoreTest, SaveAndLoadRoundTrip) {
    const std::string twenty = "abcdefghijklmnopqrst";
    struct Case { Profile saved, loaded; } cases[] = {
        {{"11111111000111", twenty, "senha-de-20-chars!!!", 2, "C:\\NFP\\"},
         {"11111111000111", twenty, "senha-de-20-chars!!!", 2, "C:\\NFP\\"}},
        {{"22222222000122", "joão  ", "pé\t\x01", 0, "/home/contab/NFP/"},
         {"22222222000122", "joão  ", "pé  ", 0, "/home/contab/NFP/"}},
        {{"33333333000133", twenty + "uvwxy", "", 1, ""}, {"33333333000133", twenty, "", 1, ""}},
        {{"44444444000144", "aœb", "€uro", 7, "\\"}, {"44444444000144", "aœb", "€uro", 7, "\\"}},
    };
    for (const auto& c : cases) Save(c.saved);
    std::vector<Profile> want;
    for (const auto& c : cases) want.push_back(c.loaded);
    ExpectSame(Load(), want);

    // Stored as the scrambled Windows-1252 bytes, whole, and Tipo a number.
    EXPECT_EQ(Raw("22222222000122/Usuario").toByteArray().toStdString(),
              ScrambleBytes(Utf8ToWindows1252("joão  "), true));
    EXPECT_EQ(Raw("33333333000133/Usuario").toByteArray().size(), 25);
    EXPECT_EQ(Raw("11111111000111/Tipo").toString(), "2");
    EXPECT_FALSE(FileBytes().contains("joão"));
    EXPECT_EQ(QFileInfo(ini_).permissions() & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_EQ(QFile::permissions(ini_) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    EXPECT_EQ(QFile::permissions(QFileInfo(ini_).absolutePath()) &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::ExeOther),
              0);
}

TEST_F(ProfileStoreTest, SavingAgainOverwritesTheFourValues) {
    Save({"12345678000199", "primeiro", "senha1", 0, "/a/"});
    Save({"99999999000199", "outro", "x", 1, "/o/"});
    Save({"12345678000199", "segundo!", "senha2", 2, "/b/"});
    ExpectSame(Load(), {{"12345678000199", "segundo!", "senha2", 2, "/b/"}, {"99999999000199", "outro", "x", 1, "/o/"}});
}

// The ENVIAR column of what the store loads, in the store's order.
std::vector<std::string> LoadedMarks(ProfileStore& store) {
    MemoryTable table(ProfileTableLayout());
    EXPECT_TRUE(LoadProfiles(store, table).empty());
    std::vector<std::string> marks;
    for (table.First(); !table.Eof(); table.Next()) marks.push_back(table.FieldText("ENVIAR"));
    return marks;
}

TEST_F(ProfileStoreTest, TheSendMarkIsStoredAndLoaded) {
    IniProfileStore store = Store();
    SaveProfile(store, "11111111000111", "a", "1", 0, "/a/");
    SaveProfile(store, "22222222000122", "b", "2", 1, "/b/", false);
    EXPECT_EQ(Raw("11111111000111/Enviar").toString(), "S");
    EXPECT_EQ(Raw("22222222000122/Enviar").toString(), "N");
    EXPECT_EQ(LoadedMarks(store), (std::vector<std::string>{"S", "N"}));

    // Toggled alone: the rest of the profile stays as it was.
    const auto before = store.Read("11111111000111");
    SaveSendMark(store, "11111111000111", false);
    SaveSendMark(store, "22222222000122", true);
    EXPECT_EQ(LoadedMarks(store), (std::vector<std::string>{"N", "S"}));
    const auto after = store.Read("11111111000111");
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->usuario, before->usuario);
    EXPECT_EQ(after->senha, before->senha);
    EXPECT_EQ(after->tipo, before->tipo);
    EXPECT_EQ(after->caminho, before->caminho);

    // Saving the whole profile again stores the mark it is given.
    SaveProfile(store, "11111111000111", "a2", "1", 2, "/a2/", true);
    EXPECT_EQ(LoadedMarks(store), (std::vector<std::string>{"S", "S"}));
}

TEST_F(ProfileStoreTest, AProfileStoredWithoutAMarkLoadsMarked) {
    const QByteArray u = IniValueText(QByteArray::fromStdString(ScrambleBytes("usr", true)));
    WriteFile("[10000000000001]\nUsuario=" + u + "\nTipo=1\n"
              "[10000000000002]\nTipo=0\nEnviar=N\n"
              "[10000000000003]\nTipo=0\nEnviar=x\n"
              "[10000000000004]\nTipo=0\nEnviar=\n");
    IniProfileStore store = Store();
    EXPECT_EQ(LoadedMarks(store), (std::vector<std::string>{"S", "N", "S", "S"}));
    // The first save of such a profile's mark adds it and keeps the rest.
    SaveSendMark(store, "10000000000001", false);
    EXPECT_EQ(LoadedMarks(store), (std::vector<std::string>{"N", "N", "S", "S"}));
    EXPECT_EQ(store.Read("10000000000001")->usuario, ScrambleBytes("usr", true));
}

TEST_F(ProfileStoreTest, AMarkForAProfileNotStoredIsRefusedAndWritesNothing) {
    IniProfileStore store = Store();
    const auto refused = [&](const char* cnpj) {
        try {
            SaveSendMark(store, cnpj, false);
            ADD_FAILURE() << cnpj;
        } catch (const StoreError& e) {
            EXPECT_STREQ(e.what(), "Failed to set data for 'Enviar'");
        }
    };
    refused("11111111000111"); // no file at all
    EXPECT_FALSE(QFileInfo::exists(ini_));
    Save({"22222222000122", "b", "2", 1, "/b/"});
    const QByteArray before = FileBytes();
    for (const char* cnpj : {"11111111000111", "", "22222222000122/Tipo", "\\"}) refused(cnpj);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(ProfileStoreTest, RemoveTakesOnlyItsKeyAndMissingKeysAreNoError) {
    IniProfileStore store = Store();
    RemoveProfile(store, "12345678000199"); // no file at all
    EXPECT_FALSE(QFileInfo::exists(ini_));
    Save({"12345678000199", "u", "s", 0, "/a/"});
    Save({"22222222000122", "v", "t", 1, "/b/"});
    const QByteArray before = FileBytes();
    for (const char* cnpj : {"00000000000000", "", "12345678000199/Tipo", "\\"}) RemoveProfile(store, cnpj);
    EXPECT_EQ(FileBytes(), before);
    RemoveProfile(store, "12345678000199");
    ExpectSame(Load(), {{"22222222000122", "v", "t", 1, "/b/"}});
    RemoveProfile(store, "12345678000199");
    ExpectSame(Load(), {{"22222222000122", "v", "t", 1, "/b/"}});
}

TEST_F(ProfileStoreTest, MissingValuesAndWrongTypes) {
    const QByteArray u = IniValueText(QByteArray::fromStdString(ScrambleBytes("usr", true)));
    WriteFile("[10000000000001]\nTipo=1\n"
              "[10000000000002]\nUsuario=" + u + "\nCaminho=/x/\n"
              "[10000000000003]\nUsuario=" + u + "\nTipo=abc\n"
              "[10000000000004]\nTipo=99999999999\n"
              "[10000000000005]\nUsuario=1, 2\nTipo=0\n"
              "[10000000000006]\nSenha=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nTipo=0\n"
              "[10000000000007]\nTipo=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nUsuario=" + u + "\n"
              "[10000000000008]\nTipo=-3\nCaminho=\n");
    std::vector<ProfileLoadFailure> failures;
    const auto rows = Load(&failures);
    ExpectSame(rows, {{"10000000000001", "", "", 1, ""},
                      {"10000000000007", "usr", "", 5, ""},
                      {"10000000000008", "", "", -3, ""}});
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"10000000000002", "Failed to get data for 'Tipo'"},
        {"10000000000003", "Invalid data type for 'Tipo'"},
        {"10000000000004", "Invalid data type for 'Tipo'"},
        {"10000000000005", "Invalid data type for 'Usuario'"},
        {"10000000000006", "Invalid data type for 'Senha'"},
    };
    ASSERT_EQ(failures.size(), expected.size());
    for (std::size_t i = 0; i < failures.size(); ++i) {
        EXPECT_EQ(failures[i].cnpj, expected[i].first);
        EXPECT_EQ(failures[i].message, expected[i].second);
    }
    EXPECT_EQ(ProfileLoadFailureText(failures[0]), "C.N.P.J. 10000000000002: Failed to get data for 'Tipo'");
}

TEST_F(ProfileStoreTest, PlainTextValuesReadAsTheirBytes) {
    WriteFile("[10000000000009]\nUsuario=" + QByteArray::fromStdString(Windows1252ToUtf8(ScrambleBytes("nome", true))) +
              "\nTipo=2\n");
    ExpectSame(Load(), {{"10000000000009", "nome", "", 2, ""}});
}

TEST_F(ProfileStoreTest, ABadProfileDropsItsRowAndOnlyItsRow) {
    Save({"10000000000001", "a", "1", 0, "/a/"});
    Save({"10000000000003", "c", "3", 2, "/c/"});
    QByteArray text = FileBytes();
    text += "\n[10000000000002]\nUsuario=x\n";
    WriteFile(text);
    MemoryTable table(ProfileTableLayout());
    std::vector<TableEvent> events;
    table.Subscribe([&](const TableEvent& e) { events.push_back(e); });
    IniProfileStore store = Store();
    const auto failures = LoadProfiles(store, table);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].cnpj, "10000000000002");
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.State(), TableState::Browse);
    // Each loaded row: append, six assignments, store.
    EXPECT_EQ(events.size(), 2u * 8u);
    EXPECT_EQ(table.CurrentRow(), 1);
}

TEST_F(ProfileStoreTest, RefusedValuesLeaveTheFileUnchanged) {
    struct Case { Profile p; std::string field; } cases[] = {
        {{"12345678000199", " usuario", "s", 0, "/a/"}, "Usuario"},
        {{"12345678000199", "u", "\tsenha", 0, "/a/"}, "Senha"},
        {{"12345678000199", "u", "s", 0, " /a/"}, "Caminho"},
        {{"12345678000199", "Ωmega", "s", 0, "/a/"}, "Usuario"},
        {{"12345678000199", "u", "s", 0, "/pasta/\xE2\x9C\x93/"}, "Caminho"},
        {{"12345678000199", "\xC2\xBC", "s", 0, "/a/"}, "Usuario"},   // ¼ scrambles to a blank
        {{"12345678000199", "u", "\xC5\x93" "ab", 0, "/a/"}, "Senha"}, // œ scrambles to a zero byte
        {{"12345678000199", "u", "a\xC5\x93", 0, "/a/"}, "Senha"},     // ... and at the end to a control
        {{"", "u", "s", 0, "/a/"}, "CNPJ"},
        {{"123456789012345", "u", "s", 0, "/a/"}, "CNPJ"},
        {{"1234/5678", "u", "s", 0, "/a/"}, "CNPJ"},
        {{"1234\\5678", "u", "s", 0, "/a/"}, "CNPJ"},
        {{"1234\t5678", "u", "s", 0, "/a/"}, "CNPJ"},
    };
    for (const bool withFile : {false, true}) {
        if (withFile) Save({"99999999000199", "outro", "x", 1, "/o/"});
        const QByteArray before = FileBytes();
        for (const auto& c : cases) {
            try {
                Save(c.p);
                ADD_FAILURE() << c.p.usuario << "|" << c.p.senha << "|" << c.p.caminho;
            } catch (const ProfileRefused& e) {
                EXPECT_EQ(e.field(), c.field);
                EXPECT_NE(std::string(e.what()).find(c.field == "CNPJ" ? "C.N.P.J." : c.field == "Usuario" ? "Usuário"
                                                                                                        : c.field),
                          std::string::npos)
                    << e.what();
            }
            EXPECT_EQ(FileBytes(), before);
        }
        EXPECT_EQ(QFileInfo::exists(ini_), withFile);
    }
}

TEST_F(ProfileStoreTest, UnreadableStoreIsReportedAndNeverReplaced) {
    QDir().mkpath(ini_); // a folder where the file should be
    std::vector<ProfileLoadFailure> failures;
    EXPECT_TRUE(Load(&failures).empty());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].cnpj, "");
    EXPECT_NE(failures[0].message.find("NFP.ini"), std::string::npos);
    try {
        Save({"12345678000199", "u", "s", 0, "/a/"});
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Usuario'");
    }
    EXPECT_TRUE(QFileInfo(ini_).isDir());
}

TEST_F(ProfileStoreTest, FolderThatCannotBeMadeFailsTheSave) {
    QDir().mkpath(config_);
    QFile blocker(config_ + "/Zeltra");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    try {
        Save({"12345678000199", "u", "s", 0, "/a/"});
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Usuario'");
    }
    EXPECT_TRUE(Load().empty());
}

TEST_F(ProfileStoreTest, UnwritableFileKeepsItsContentAndAFailedSaveStaysUnsaved) {
    Save({"11111111000111", "a", "1", 0, "/a/"});
    const QByteArray before = FileBytes();
    const QString folder = QFileInfo(ini_).absolutePath();
    if (!MakeUnwritable(folder)) GTEST_SKIP() << "this machine cannot make a folder unwritable for root";
    EXPECT_THROW(Save({"22222222000122", "b", "2", 1, "/b/"}), StoreError);
    IniProfileStore store = Store();
    EXPECT_THROW(RemoveProfile(store, "11111111000111"), StoreError);
    EXPECT_NO_THROW(RemoveProfile(store, "22222222000122")); // not there: nothing to write
    EXPECT_THROW(SaveSendMark(store, "11111111000111", false), StoreError);
    EXPECT_EQ(FileBytes(), before);
    ExpectSame(Load(), {{"11111111000111", "a", "1", 0, "/a/"}});
    MakeWritableAgain(folder);
    // The failed profile does not come back with the next save.
    Save({"33333333000133", "c", "3", 2, "/c/"});
    ExpectSame(Load(), {{"11111111000111", "a", "1", 0, "/a/"}, {"33333333000133", "c", "3", 2, "/c/"}});
    // No working copies left behind.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"NFP.ini"});
}

} // namespace
} // namespace nfp
