// The import dialog over the registry export fixtures, a real profile file
// and real folders.
#include "profiles/f_importar.h"

#include "app/local_message_dlg.h"
#include "profiles/ini_profile_store.h"
#include "profiles/profile_codec.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_table.h"
#include "util/text_codec.h"
#include "widgets/zeltra_browser.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace nfp {
namespace {

QString FixturePath(const char* name) { return QStringLiteral(NFP_PROFILES_TEST_DATA "/") + name; }

class ImportDialogTest : public ::testing::Test {
 protected:
  ImportDialogTest()
      : store_((dir_.path() + QStringLiteral("/config/NFP.ini")).toStdString()),
        table_(ProfileTableLayout()) {}

  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    base_ = dir_.path() + QStringLiteral("/copia/");
    // What was copied from Windows, in other letter cases.
    ASSERT_TRUE(QDir().mkpath(base_ + "nfp/Loja1"));
    ASSERT_TRUE(QDir().mkpath(base_ + "CONTÁBIL/ação"));
  }

  // The profiles stored before the import, listed as the window lists them.
  void StoreAndList(const ProfileValues& p) {
    SaveProfile(store_, p);
    table_.EmptyTable();
    ASSERT_TRUE(LoadProfiles(store_, table_).empty());
  }

  QByteArray FileBytes() const {
    QFile f(QString::fromStdString(store_.FilePath()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  std::vector<std::string> ListedCnpjs() const {
    std::vector<std::string> cnpjs;
    for (int row = 0; row < table_.RecordCount(); ++row) cnpjs.push_back(table_.TextAt(row, 0));
    return cnpjs;
  }

  QString WriteExport(const std::string& bytes) {
    const QString path = dir_.path() + QStringLiteral("/teste.reg");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return path;
  }

  QTemporaryDir dir_;
  IniProfileStore store_;
  MemoryTable table_;
  QString base_;
};

TEST_F(ImportDialogTest, ListsWhatWasFoundAndLeavesProfilesAlreadyListedUnticked) {
  StoreAndList({"11222333000181", "antigo", "x", 2, "/antiga/", false});
  ScriptedMessageAnswers messages;
  ScriptedImportDialog script{[&](TF_Importar& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8(kImportarCaption));
    EXPECT_TRUE(d.Label_Arquivo->text().startsWith(QStringLiteral("Perfis encontrados em perfis-versao5.reg ")))
        << d.Label_Arquivo->text().toStdString();
    EXPECT_EQ(d.Label_Base->text(), QStringLiteral("Pasta base:"));
    EXPECT_EQ(d.Edit_Base->text(), QDir::homePath() + "/");
    QStringList titles;
    for (int c = 0; c < TF_Importar::ColumnCount; ++c) titles << d.ListView_Perfis->headerItem()->text(c);
    EXPECT_EQ(titles, (QStringList{"C.N.P.J.", "Usuário", "Tipo", "Pasta no Windows", "Pasta neste computador",
                                   "Situação"}));
    ASSERT_EQ(d.ListView_Perfis->topLevelItemCount(), 3);
    d.Edit_Base->setText(base_);
    const struct {
      const char* cnpj;
      const char* usuario;
      const char* tipo;
      const char* windows;
      QString here;
      bool ticked;
      const char* situacao;
    } rows[] = {
        {"11222333000181", "abc", "Contribuinte", "C:\\NFP\\LOJA1\\", base_ + "nfp/Loja1/", false,
         kSituacaoCadastrado},
        {"44555666000181", "joão da silva", "Contabilista", "C:\\Contábil\\Ação\\", base_ + "CONTÁBIL/ação/", true,
         kSituacaoNovo},
        {"77888999000181", "outro", "Consumidor", "D:\\Dados\\NFP\\", base_ + "Dados/NFP/", true, kSituacaoNovo},
    };
    for (int r = 0; r < 3; ++r) {
      const QTreeWidgetItem* item = d.Item(r);
      EXPECT_EQ(item->text(TF_Importar::ColCnpj), rows[r].cnpj);
      EXPECT_EQ(item->text(TF_Importar::ColUsuario), QString::fromUtf8(rows[r].usuario));
      EXPECT_EQ(item->text(TF_Importar::ColTipo), rows[r].tipo);
      EXPECT_EQ(item->text(TF_Importar::ColWindows), QString::fromUtf8(rows[r].windows));
      EXPECT_EQ(item->text(TF_Importar::ColPasta), rows[r].here);
      EXPECT_EQ(d.Ticked(r), rows[r].ticked) << r;
      EXPECT_EQ(item->text(TF_Importar::ColSituacao), QString::fromUtf8(rows[r].situacao));
    }
    d.BitBtn_SairClick();
  }};
  EXPECT_EQ(TF_Importar::ImportFile(table_, store_, FixturePath("perfis-versao5.reg")), 0);
  EXPECT_EQ(script.Pending(), 0u);
  EXPECT_TRUE(messages.Asked().empty());
  EXPECT_EQ(ListedCnpjs(), std::vector<std::string>{"11222333000181"});
  EXPECT_EQ(ReadProfile(store_, "11222333000181")->usuario, "antigo");
}

TEST_F(ImportDialogTest, ImportarStoresEachTickedProfileWholeAndListsIt) {
  StoreAndList({"11222333000181", "antigo", "x", 2, "/antiga/", false});
  for (const char* file : {"perfis-versao5.reg", "perfis-regedit4.reg"}) {
    SCOPED_TRACE(file);
    for (const char* cnpj : {"44555666000181", "77888999000181"}) RemoveProfile(store_, cnpj);
    StoreAndList({"11222333000181", "antigo", "x", 2, "/antiga/", false});
    ScriptedMessageAnswers messages{MsgResult::Ok};
    ScriptedImportDialog script{[&](TF_Importar& d) {
      d.Edit_Base->setText(base_);
      d.BitBtn_Importar->click();
    }};
    EXPECT_EQ(TF_Importar::ImportFile(table_, store_, FixturePath(file)), 2);
    ASSERT_EQ(messages.Asked().size(), 1u);
    EXPECT_EQ(messages.Asked()[0].text, QStringLiteral("2 perfis importados."));
    EXPECT_EQ(messages.Asked()[0].kind, MessageKind::Information);
    EXPECT_EQ(ListedCnpjs(), (std::vector<std::string>{"11222333000181", "44555666000181", "77888999000181"}));

    const auto joao = ReadProfile(store_, "44555666000181");
    ASSERT_TRUE(joao.has_value());
    EXPECT_EQ(joao->usuario, "joão da silva");
    EXPECT_EQ(joao->senha, "9())");
    EXPECT_EQ(joao->tipo, 1);
    EXPECT_EQ(joao->caminho, (base_ + "CONTÁBIL/ação/").toStdString());
    EXPECT_TRUE(joao->enviar);
    const auto outro = ReadProfile(store_, "77888999000181");
    ASSERT_TRUE(outro.has_value());
    EXPECT_EQ(outro->senha, "Ruaõºx");
    EXPECT_EQ(outro->tipo, 2);
    EXPECT_EQ(outro->caminho, (base_ + "Dados/NFP/").toStdString());
    // The listed row is what a load gives.
    ASSERT_TRUE(table_.Locate("CNPJ", FieldValue{std::string("44555666000181")}));
    EXPECT_EQ(table_.FieldText("USUARIO"), "joão da silva");
    EXPECT_EQ(table_.FieldText("CAMINHO"), joao->caminho);
    EXPECT_EQ(table_.FieldText("ENVIAR"), "S");
    // The profile left unticked is as it was.
    EXPECT_EQ(ReadProfile(store_, "11222333000181")->usuario, "antigo");
  }
}

TEST_F(ImportDialogTest, AProfileAlreadyListedIsReplacedWhenTickedKeepingItsMarkAndRow) {
  StoreAndList({"11222333000181", "antigo", "x", 2, "/antiga/", false});
  ScriptedMessageAnswers messages{MsgResult::Ok};
  ScriptedImportDialog script{[&](TF_Importar& d) {
    d.Edit_Base->setText(base_);
    d.SetTicked(0, true);
    d.SetTicked(1, false);
    d.SetTicked(2, false);
    d.BitBtn_ImportarClick();
  }};
  EXPECT_EQ(TF_Importar::ImportFile(table_, store_, FixturePath("perfis-regedit4.reg")), 1);
  EXPECT_EQ(ListedCnpjs(), std::vector<std::string>{"11222333000181"});
  const auto stored = ReadProfile(store_, "11222333000181");
  EXPECT_EQ(stored->usuario, "abc");
  EXPECT_EQ(stored->senha, "Mãe1ºó");
  EXPECT_EQ(stored->tipo, 0);
  EXPECT_EQ(stored->caminho, (base_ + "nfp/Loja1/").toStdString());
  EXPECT_FALSE(stored->enviar);
  table_.First();
  EXPECT_EQ(table_.FieldText("USUARIO"), "abc");
  EXPECT_EQ(table_.FieldText("ENVIAR"), "N");
  EXPECT_EQ(messages.Asked()[0].text, QStringLiteral("1 perfil importado."));
}

TEST_F(ImportDialogTest, ARefusedProfileIsReportedWithItsReasonAndTheOthersStillGoIn) {
  // A user name whose first character unscrambles to a blank cannot be
  // stored so that it loads back the same; a folder past the list's width.
  const auto data = [](const std::string& plainBytes) {
    std::string out = "\"";
    for (const char c : Windows1252ToUtf8(ScrambleBytes(plainBytes, true))) {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
    return out + "\"";
  };
  const std::string longFolder = "C:\\" + std::string(160, 'p') + "\\";
  const std::string file = Utf8ToWindows1252(
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\11222333000181]\r\n"
      "\"Usuario\"=\"\u201Ebc\"\r\n\"Tipo\"=dword:00000000\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\44555666000181]\r\n"
      "\"Usuario\"=" + data("bom") + "\r\n\"Tipo\"=dword:00000001\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\77888999000181]\r\n"
      "\"Usuario\"=" + data("longo") + "\r\n\"Caminho\"=" + data(longFolder) + "\r\n\"Tipo\"=dword:00000002\r\n");
  ScriptedMessageAnswers messages{MsgResult::Ok};
  ScriptedImportDialog script{[&](TF_Importar& d) {
    d.Edit_Base->setText(base_);
    d.BitBtn_ImportarClick();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.Item(0)->text(TF_Importar::ColSituacao).startsWith("Não importado: Usuário:"))
        << d.Item(0)->text(TF_Importar::ColSituacao).toStdString();
    EXPECT_TRUE(d.Ticked(0));
    EXPECT_EQ(d.Item(1)->text(TF_Importar::ColSituacao), QString::fromUtf8(kSituacaoImportado));
    EXPECT_FALSE(d.Item(1)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(d.Item(2)->text(TF_Importar::ColSituacao).contains("muito longo"));
    d.BitBtn_SairClick();
  }};
  EXPECT_EQ(TF_Importar::ImportFile(table_, store_, WriteExport(file)), 1);
  ASSERT_EQ(messages.Asked().size(), 1u);
  EXPECT_EQ(messages.Asked()[0].kind, MessageKind::Warning);
  const QString text = messages.Asked()[0].text;
  EXPECT_TRUE(text.startsWith("1 perfil importado.\r\rNão importados:\rC.N.P.J. 11222333000181: Usuário:"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("\rC.N.P.J. 77888999000181: Caminho (Pasta) muito longo")) << text.toStdString();
  EXPECT_EQ(ListedCnpjs(), std::vector<std::string>{"44555666000181"});
  EXPECT_EQ(store_.ProfileKeys(), std::vector<std::string>{"44555666000181"});
}

TEST_F(ImportDialogTest, AProfileThatCannotBeReadIsShownWithoutATick) {
  const std::string file = Utf8ToWindows1252(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Zeltra\\11222333000181]\r\n\"Usuario\"=\"x\"\r\n");
  ScriptedImportDialog script{[&](TF_Importar& d) {
    ASSERT_EQ(d.ListView_Perfis->topLevelItemCount(), 1);
    EXPECT_FALSE(d.Item(0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(d.Ticked(0));
    EXPECT_TRUE(d.Item(0)->text(TF_Importar::ColTipo).isEmpty());
    EXPECT_EQ(d.Item(0)->text(TF_Importar::ColSituacao),
              QStringLiteral("Não pode ser importado: falta o valor \"Tipo\""));
    ScriptedMessageAnswers messages{MsgResult::Ok};
    d.BitBtn_ImportarClick();
    ASSERT_EQ(messages.Asked().size(), 1u);
    EXPECT_EQ(messages.Asked()[0].text, QString::fromUtf8(kImportNothingTicked));
    d.BitBtn_SairClick();
  }};
  EXPECT_EQ(TF_Importar::ImportFile(table_, store_, WriteExport(file)), 0);
  EXPECT_EQ(script.Pending(), 0u);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(store_.FilePath())));
}

TEST_F(ImportDialogTest, TheBaseFolderIsAskedForAndCanBeChosen) {
  ScriptedFolderAnswers folders{base_ + "nfp"};
  ScriptedMessageAnswers messages{MsgResult::Ok, MsgResult::Ok};
  ScriptedImportDialog script{[&](TF_Importar& d) {
    d.Edit_Base->clear();
    EXPECT_TRUE(d.Item(0)->text(TF_Importar::ColPasta).isEmpty());
    d.BitBtn_ImportarClick();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(store_.FilePath())));
    d.BitBtn_Base->click();
    EXPECT_EQ(d.Edit_Base->text(), base_ + "nfp/");
    EXPECT_EQ(d.Item(0)->text(TF_Importar::ColPasta), base_ + "nfp/NFP/LOJA1/");
    d.BitBtn_ImportarClick();
  }};
  EXPECT_EQ(TF_Importar::ImportFile(table_, store_, FixturePath("perfis-versao5.reg")), 3);
  ASSERT_EQ(messages.Asked().size(), 2u);
  EXPECT_EQ(messages.Asked()[0].text, QString::fromUtf8(kImportNoBase));
  EXPECT_EQ(ReadProfile(store_, "11222333000181")->caminho, (base_ + "nfp/NFP/LOJA1/").toStdString());
}

TEST_F(ImportDialogTest, AFileThatIsNoExportOrHoldsNoProfileIsToldAndChangesNothing) {
  StoreAndList({"11222333000181", "antigo", "x", 2, "/antiga/", true});
  const QByteArray before = FileBytes();
  struct Case {
    const char* what;
    QString path;
    MessageKind kind;
    QString text; // the message, or its beginning
  };
  const Case cases[] = {
      {"our own profile file", QString::fromStdString(store_.FilePath()), MessageKind::Error,
       QString::fromUtf8(kNotARegistryExport)},
      {"an export without profiles",
       WriteExport("\xFF\xFE" + std::string("R\0E\0G\0E\0D\0I\0T\0" "4\0\r\0\n\0", 20)), MessageKind::Warning,
       QString::fromUtf8(kImportNoProfiles)},
      {"a file that is not there", dir_.path() + "/nenhum.reg", MessageKind::Error,
       QStringLiteral("Não foi possível ler o arquivo \"%1/nenhum.reg\"...").arg(dir_.path())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedMessageAnswers messages{MsgResult::Ok};
    ScriptedImportDialog script{[](TF_Importar& d) { d.BitBtn_SairClick(); }};
    EXPECT_EQ(TF_Importar::ImportFile(table_, store_, c.path), 0);
    EXPECT_EQ(script.Pending(), 1u);
    ASSERT_EQ(messages.Asked().size(), 1u);
    EXPECT_EQ(messages.Asked()[0].kind, c.kind);
    EXPECT_TRUE(messages.Asked()[0].text.startsWith(c.text)) << messages.Asked()[0].text.toStdString();
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(ListedCnpjs(), std::vector<std::string>{"11222333000181"});
  }
}

}  // namespace
}  // namespace nfp
