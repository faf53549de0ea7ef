#include "profiles/f_registro.h"

#include "app/local_message_dlg.h"
#include "profiles/cnpj_check.h"
#include "profiles/ini_profile_store.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_table.h"
#include "widgets/zeltra_browser.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace nfp {
namespace {

constexpr const char* kCnpj = "11222333000181";
constexpr const char* kOtherCnpj = "11444777000161";

// A profile dialog over a real profile file in a temporary folder.
class ProfileDialogTest : public ::testing::Test {
 protected:
  ProfileDialogTest()
      : store_((dir_.path() + QStringLiteral("/NFP.ini")).toStdString()),
        table_(ProfileTableLayout()),
        dialog_(table_, store_) {}

  void AddRow(const std::string& cnpj) {
    table_.Append();
    table_.SetField("CNPJ", cnpj);
    table_.SetField("USUARIO", "u" + cnpj.substr(0, 3));
    table_.SetField("ENVIAR", "S");
    table_.Post();
  }

  // Fills the fields as a user would and presses Confirma.
  static void FillAndConfirm(TF_Registro& d, const QString& user, const QString& folder,
                             int tipo = 2) {
    QTest::keyClicks(d.Edit_Usuario, user);
    QTest::keyClicks(d.Edit_Senha, QStringLiteral("segredo"));
    d.TipoItem(tipo)->click();
    QTest::keyClicks(d.Edit_Caminho, folder);
    d.BitBtn_Confirma->click();
  }

  QTemporaryDir dir_;
  IniProfileStore store_;
  MemoryTable table_;
  TF_Registro dialog_;
};

TEST_F(ProfileDialogTest, FrameControlsAndTabOrder) {
  EXPECT_EQ(dialog_.size(), QSize(435, 183));
  EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8(kRegistroCaption));
  EXPECT_EQ(dialog_.GroupBox_Login->geometry(), QRect(7, 7, 421, 134));
  EXPECT_EQ(dialog_.Edit_CNPJ->geometry(), QRect(7, 28, 127, 22));
  EXPECT_EQ(dialog_.Edit_Usuario->geometry(), QRect(147, 28, 127, 22));
  EXPECT_EQ(dialog_.Edit_Senha->geometry(), QRect(147, 63, 127, 22));
  EXPECT_EQ(dialog_.RadioGroup_Tipo->geometry(), QRect(287, 7, 127, 78));
  EXPECT_EQ(dialog_.BitBtn_Pasta->geometry(), QRect(7, 99, 29, 28));
  EXPECT_EQ(dialog_.Edit_Caminho->geometry(), QRect(42, 105, 372, 22));
  EXPECT_EQ(dialog_.BitBtn_Confirma->geometry(), QRect(252, 151, 85, 25));
  EXPECT_EQ(dialog_.BitBtn_Sair->geometry(), QRect(343, 151, 85, 25));
  EXPECT_EQ(dialog_.Label1->text(), QStringLiteral("Caminho (Pasta) do C.N.P.J.:"));
  EXPECT_EQ(dialog_.BitBtn_Pasta->toolTip(), QString::fromUtf8(kPastaHint));
  EXPECT_TRUE(dialog_.BitBtn_Pasta->text().isEmpty());
  EXPECT_TRUE(dialog_.Edit_CNPJ->isReadOnly());
  EXPECT_EQ(dialog_.Edit_CNPJ->maxLength(), 14);
  EXPECT_EQ(dialog_.Edit_Caminho->maxLength(), 150);
  EXPECT_EQ(dialog_.Edit_Senha->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dialog_.TipoItem(1)->text(), QStringLiteral("Contabilistas"));
  EXPECT_EQ(dialog_.findChild<QLineEdit*>(QStringLiteral("Edit_Caminho")), dialog_.Edit_Caminho);
  EXPECT_EQ(dialog_.ZeltraBrowser->Title, QStringLiteral("Localizar pastas com arquivos da NFP..."));
  EXPECT_EQ(dialog_.ZeltraBrowser->Caption, QStringLiteral("Localizar Pastas..."));

  // Tab stops in order; the CNPJ field is none of them.
  std::vector<QWidget*> stops;
  QWidget* w = dialog_.Edit_Usuario;
  do {
    if (w->focusPolicy() & Qt::TabFocus) stops.push_back(w);
    w = w->nextInFocusChain();
  } while (w != dialog_.Edit_Usuario);
  const std::vector<QWidget*> expected{dialog_.Edit_Usuario, dialog_.Edit_Senha,
                                       dialog_.TipoItem(0),   dialog_.TipoItem(1),
                                       dialog_.TipoItem(2),   dialog_.BitBtn_Pasta,
                                       dialog_.Edit_Caminho,  dialog_.BitBtn_Confirma,
                                       dialog_.BitBtn_Sair};
  EXPECT_EQ(stops, expected);
}

TEST_F(ProfileDialogTest, ConfirmaStoresAndListsTheProfile) {
  AddRow(kOtherCnpj);
  ScriptedFolderAnswers folders{QStringLiteral("/dados/Nfp")};
  ScriptedProfileDialog script{[](TF_Registro& d) {
    EXPECT_EQ(d.Edit_CNPJ->text(), QString::fromLatin1(kCnpj));
    QTest::keyClicks(d.Edit_Usuario, QStringLiteral("ana"));
    QTest::keyClicks(d.Edit_Senha, QStringLiteral("s3nh4"));
    EXPECT_EQ(d.Edit_Senha->displayText(), QStringLiteral("#####"));
    d.TipoItem(2)->click();
    d.BitBtn_Pasta->click();
    EXPECT_EQ(d.Edit_Caminho->text(), QStringLiteral("/dados/Nfp"));
    EXPECT_EQ(d.focusWidget(), d.BitBtn_Confirma);
    d.BitBtn_Confirma->click();
  }};
  ASSERT_TRUE(dialog_.AddProfile(kCnpj));
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(script.Pending(), 0u);

  ASSERT_EQ(table_.RecordCount(), 2);
  EXPECT_EQ(table_.CurrentRow(), 1);
  EXPECT_EQ(table_.FieldText("CNPJ"), kCnpj);
  EXPECT_EQ(table_.FieldText("USUARIO"), "ana");
  EXPECT_EQ(table_.FieldText("SENHA"), "s3nh4");
  EXPECT_EQ(table_.FieldInt("TIPO"), 2);
  EXPECT_EQ(table_.FieldText("CAMINHO"), "/dados/Nfp/");
  EXPECT_EQ(table_.FieldText("ENVIAR"), "S");

  // What the next start loads: the same values, the folder's case kept.
  MemoryTable loaded(ProfileTableLayout());
  EXPECT_TRUE(LoadProfiles(store_, loaded).empty());
  ASSERT_EQ(loaded.RecordCount(), 1);
  loaded.First();
  EXPECT_EQ(loaded.FieldText("CNPJ"), kCnpj);
  EXPECT_EQ(loaded.FieldText("USUARIO"), "ana");
  EXPECT_EQ(loaded.FieldText("SENHA"), "s3nh4");
  EXPECT_EQ(loaded.FieldInt("TIPO"), 2);
  EXPECT_EQ(loaded.FieldText("CAMINHO"), "/dados/Nfp/");
}

TEST(FolderWithTrailingSlash, ExactlyOneSlashCaseKept) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case& c : {Case{"", "/"}, Case{"/", "/"}, Case{"/dados/Nfp", "/dados/Nfp/"},
                        Case{"/dados/Nfp/", "/dados/Nfp/"}, Case{"/dados/Nfp///", "/dados/Nfp/"},
                        Case{"C:/Nfp", "C:/Nfp/"}, Case{"relativa/Pasta", "relativa/Pasta/"}}) {
    EXPECT_EQ(FolderWithTrailingSlash(c.in), c.out) << c.in;
  }
}

TEST_F(ProfileDialogTest, TypedFoldersGetOneSlash) {
  struct Case {
    const char* cnpj;
    const char* typed;
    const char* stored;
  };
  for (const Case& c : {Case{kCnpj, "/srv/Loja/", "/srv/Loja/"},
                        Case{kOtherCnpj, "/srv/Loja", "/srv/Loja/"},
                        Case{"11444777000242", "", "/"}}) {
    ScriptedProfileDialog script{[&c](TF_Registro& d) {
      FillAndConfirm(d, QStringLiteral("ana"), QString::fromUtf8(c.typed));
    }};
    ASSERT_TRUE(dialog_.AddProfile(c.cnpj)) << c.typed;
    EXPECT_EQ(table_.FieldText("CAMINHO"), c.stored);
    EXPECT_EQ(dialog_.Edit_Caminho->text(), QString::fromUtf8(c.stored));
  }
  EXPECT_EQ(table_.RecordCount(), 3);
}

TEST_F(ProfileDialogTest, AlreadyListedMovesToItAndRefuses) {
  AddRow(kOtherCnpj);
  AddRow(kCnpj);
  table_.First();
  ScriptedMessageAnswers messages{1};
  ScriptedProfileDialog script{[](TF_Registro& d) { d.BitBtn_Sair->click(); }};
  EXPECT_FALSE(dialog_.AddProfile(kCnpj));
  EXPECT_EQ(table_.CurrentRow(), 1);
  EXPECT_EQ(table_.RecordCount(), 2);
  EXPECT_EQ(script.Pending(), 1u);  // never opened
  ASSERT_EQ(messages.Asked().size(), 1u);
  EXPECT_EQ(messages.Asked()[0].text, QString::fromUtf8(kCnpjAlreadyListed));
  EXPECT_EQ(messages.Asked()[0].kind, MessageKind::Error);
  EXPECT_EQ(messages.Asked()[0].buttons, MsgButton::OK);
  EXPECT_EQ(messages.Asked()[0].focusResult, 1);
}

TEST_F(ProfileDialogTest, SairAndCloseBoxStoreNothing) {
  ScriptedProfileDialog script{
      [](TF_Registro& d) {
        QTest::keyClicks(d.Edit_Usuario, QStringLiteral("ana"));
        QTest::keyClicks(d.Edit_Caminho, QStringLiteral("/x"));
        d.BitBtn_Sair->click();
      },
      [](TF_Registro& d) {
        QTest::keyClicks(d.Edit_Usuario, QStringLiteral("bia"));
        d.close();
      }};
  EXPECT_FALSE(dialog_.AddProfile(kCnpj));
  EXPECT_FALSE(dialog_.AddProfile(kCnpj));
  EXPECT_TRUE(store_.ProfileKeys().empty());
  EXPECT_EQ(table_.RecordCount(), 0);
}

TEST_F(ProfileDialogTest, SecondOpeningStartsEmpty) {
  ScriptedFolderAnswers folders{QStringLiteral("/dados")};
  ScriptedProfileDialog script{
      [](TF_Registro& d) {
        QTest::keyClicks(d.Edit_Usuario, QStringLiteral("ana"));
        QTest::keyClicks(d.Edit_Senha, QStringLiteral("x"));
        d.TipoItem(1)->click();
        d.BitBtn_Pasta->click();
        d.BitBtn_Sair->click();
      },
      [](TF_Registro& d) {
        EXPECT_TRUE(d.Edit_Usuario->text().isEmpty());
        EXPECT_TRUE(d.Edit_Senha->text().isEmpty());
        EXPECT_TRUE(d.Edit_Caminho->text().isEmpty());
        EXPECT_EQ(d.TipoIndex(), 0);
        EXPECT_EQ(d.focusWidget(), d.Edit_Usuario);
        EXPECT_EQ(d.Edit_CNPJ->text(), QString::fromLatin1(kOtherCnpj));
        d.BitBtn_Sair->click();
      }};
  EXPECT_FALSE(dialog_.AddProfile(kCnpj));
  EXPECT_FALSE(dialog_.AddProfile(kOtherCnpj));
  EXPECT_EQ(script.Pending(), 0u);
}

TEST_F(ProfileDialogTest, NoFolderChosenWarnsAndKeepsTheField) {
  ScriptedFolderAnswers folders{std::nullopt};
  ScriptedMessageAnswers messages{1};
  ScriptedProfileDialog script{[](TF_Registro& d) {
    QTest::keyClicks(d.Edit_Caminho, QStringLiteral("/antes"));
    d.BitBtn_Pasta->click();
    EXPECT_EQ(d.Edit_Caminho->text(), QStringLiteral("/antes"));
    EXPECT_TRUE(d.isVisible());
    d.BitBtn_Sair->click();
  }};
  EXPECT_FALSE(dialog_.AddProfile(kCnpj));
  ASSERT_EQ(messages.Asked().size(), 1u);
  EXPECT_EQ(messages.Asked()[0].text, QStringLiteral("Nenhuma Pasta Selecionada..."));
  EXPECT_EQ(messages.Asked()[0].kind, MessageKind::Warning);
}

TEST_F(ProfileDialogTest, RefusedProfileKeepsTheDialogOpen) {
  ScriptedMessageAnswers messages{1};
  ScriptedProfileDialog script{[this](TF_Registro& d) {
    // A leading blank would not load back as typed.
    FillAndConfirm(d, QStringLiteral(" ana"), QStringLiteral("/dados"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Edit_Usuario->text(), QStringLiteral(" ana"));
    EXPECT_EQ(d.Edit_Caminho->text(), QStringLiteral("/dados/"));
    EXPECT_TRUE(store_.ProfileKeys().empty());
    EXPECT_EQ(table_.RecordCount(), 0);
    // Mended, it goes through.
    d.Edit_Usuario->setText(QStringLiteral("ana"));
    d.BitBtn_Confirma->click();
  }};
  EXPECT_TRUE(dialog_.AddProfile(kCnpj));
  ASSERT_EQ(messages.Asked().size(), 1u);
  EXPECT_EQ(messages.Asked()[0].kind, MessageKind::Error);
  EXPECT_FALSE(messages.Asked()[0].text.isEmpty());
  EXPECT_EQ(table_.RecordCount(), 1);
  EXPECT_EQ(table_.FieldText("CAMINHO"), "/dados/");
  EXPECT_EQ(store_.ProfileKeys(), std::vector<std::string>{kCnpj});
}

TEST_F(ProfileDialogTest, FolderTheListCannotHoldIsRefused) {
  const QString fits = QStringLiteral("/") + QString(148, u'p');        // 149, 150 with "/"
  const QString tooLong = QStringLiteral("/") + QString(149, u'p');     // 150, 151 with "/"
  ScriptedMessageAnswers messages{1, 1};
  ScriptedFolderAnswers folders{tooLong};
  ScriptedProfileDialog script{[&](TF_Registro& d) {
    d.BitBtn_Pasta->click();  // from the browser: refused, the field kept
    EXPECT_TRUE(d.Edit_Caminho->text().isEmpty());
    FillAndConfirm(d, QStringLiteral("ana"), tooLong);  // typed: refused, the dialog stays
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Edit_Caminho->text(), tooLong);
    EXPECT_TRUE(store_.ProfileKeys().empty());
    d.Edit_Caminho->setText(fits);
    d.BitBtn_Confirma->click();
  }};
  ASSERT_TRUE(dialog_.AddProfile(kCnpj));
  ASSERT_EQ(messages.Asked().size(), 2u);
  EXPECT_EQ(messages.Asked()[0].text, QString::fromUtf8(kFolderTooLong));
  EXPECT_EQ(messages.Asked()[1].text, QString::fromUtf8(kFolderTooLong));
  const std::string stored = (fits + QStringLiteral("/")).toStdString();
  EXPECT_EQ(table_.FieldText("CAMINHO"), stored);
  MemoryTable loaded(ProfileTableLayout());
  LoadProfiles(store_, loaded);
  loaded.First();
  EXPECT_EQ(loaded.FieldText("CAMINHO"), stored);
}

TEST_F(ProfileDialogTest, EnterAndEscPressNothing) {
  ScriptedProfileDialog script{[this](TF_Registro& d) {
    QTest::keyClick(d.Edit_Usuario, Qt::Key_Escape);
    QTest::keyClick(d.Edit_Usuario, Qt::Key_Return);
    d.BitBtn_Confirma->setFocus();
    QTest::keyClick(d.BitBtn_Confirma, Qt::Key_Return);
    QTest::keyClick(d.BitBtn_Confirma, Qt::Key_Enter);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(table_.RecordCount(), 0);
    d.BitBtn_Sair->click();
  }};
  EXPECT_FALSE(dialog_.AddProfile(kCnpj));
  EXPECT_TRUE(store_.ProfileKeys().empty());
}

TEST_F(ProfileDialogTest, CnpjQuestion) {
  ScriptedMessageAnswers messages{1};
  ScriptedCnpjAnswers answers{std::nullopt, QStringLiteral("12.345.678/0001-00"),
                              QStringLiteral("11.222.333/0001-81")};
  ScriptedProfileDialog script{[](TF_Registro& d) {
    EXPECT_EQ(d.Edit_CNPJ->text(), QStringLiteral("11222333000181"));
    FillAndConfirm(d, QStringLiteral("ana"), QStringLiteral("/d"));
  }};
  EXPECT_FALSE(dialog_.AddProfile());  // cancelled: no word
  EXPECT_TRUE(messages.Asked().empty());
  EXPECT_FALSE(dialog_.AddProfile());  // wrong check digits
  ASSERT_EQ(messages.Asked().size(), 1u);
  EXPECT_EQ(messages.Asked()[0].text, QString::fromUtf8(kCnpjInvalid));
  EXPECT_EQ(script.Pending(), 1u);
  EXPECT_TRUE(dialog_.AddProfile());
  EXPECT_EQ(answers.Asked(), 3);
  EXPECT_EQ(table_.FieldText("CNPJ"), "11222333000181");
}

// Editing in place: the dialog over profiles loaded from the store, as the
// main window has them.
class EditProfileTest : public ProfileDialogTest {
 protected:
  void SetUp() override {
    SaveProfile(store_, kOtherCnpj, "outro", "x", 1, "/o/");
    // A user name longer than the list holds: stored whole, listed cut.
    SaveProfile(store_, kCnpj, "usuario-de-vinte-e-cinco", "s3nh4", 1, "/dados/Nfp/");
    ASSERT_TRUE(LoadProfiles(store_, table_).empty());
    ASSERT_TRUE(table_.Locate("CNPJ", FieldValue{std::string(kCnpj)}));
    editedRow_ = table_.CurrentRow();
  }

  QByteArray FileBytes() const {
    QFile f(QString::fromStdString(store_.FilePath()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  int editedRow_ = -1;
};

TEST_F(EditProfileTest, OpensFilledAsStoredWithTheCnpjFixed) {
  ScriptedProfileDialog script{[](TF_Registro& d) {
    EXPECT_TRUE(d.Editing());
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8(kRegistroEditCaption));
    EXPECT_EQ(d.Edit_CNPJ->text(), QString::fromLatin1(kCnpj));
    EXPECT_TRUE(d.Edit_CNPJ->isReadOnly());
    EXPECT_EQ(d.Edit_Usuario->text(), QStringLiteral("usuario-de-vinte-e-cinco"));
    EXPECT_EQ(d.Edit_Senha->text(), QStringLiteral("s3nh4"));
    EXPECT_EQ(d.Edit_Senha->displayText(), QStringLiteral("#####"));
    EXPECT_EQ(d.TipoIndex(), 1);
    EXPECT_EQ(d.Edit_Caminho->text(), QStringLiteral("/dados/Nfp/"));
    EXPECT_EQ(d.focusWidget(), d.Edit_Usuario);
    d.BitBtn_Sair->click();
  }};
  EXPECT_FALSE(dialog_.EditProfile());
  EXPECT_EQ(script.Pending(), 0u);
  EXPECT_FALSE(dialog_.Editing());
}

TEST_F(EditProfileTest, ConfirmaStoresEachChangedFieldAndUpdatesTheRowInPlace) {
  struct Case {
    const char* what;
    std::function<void(TF_Registro&)> change;
    ProfileValues stored;  // what the store holds afterwards
  };
  const Case cases[] = {
      {"user name",
       [](TF_Registro& d) { d.Edit_Usuario->setText(QStringLiteral("joão")); },
       {kCnpj, "joão", "s3nh4", 1, "/dados/Nfp/", false}},
      {"password",
       [](TF_Registro& d) {
         d.Edit_Senha->clear();
         QTest::keyClicks(d.Edit_Senha, QStringLiteral("nova"));
       },
       {kCnpj, "joão", "nova", 1, "/dados/Nfp/", false}},
      {"category",
       [](TF_Registro& d) { d.TipoItem(2)->click(); },
       {kCnpj, "joão", "nova", 2, "/dados/Nfp/", false}},
      {"folder, given its slash",
       [](TF_Registro& d) { d.Edit_Caminho->setText(QStringLiteral("/srv/Loja")); },
       {kCnpj, "joão", "nova", 2, "/srv/Loja/", false}},
      {"nothing at all", [](TF_Registro&) {}, {kCnpj, "joão", "nova", 2, "/srv/Loja/", false}},
  };
  // The mark as the list shows it is stored with the rest.
  table_.Edit();
  table_.SetField("ENVIAR", "N");
  table_.Post();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedProfileDialog script{[&c](TF_Registro& d) {
      c.change(d);
      d.BitBtn_Confirma->click();
    }};
    ASSERT_TRUE(dialog_.EditProfile());
    EXPECT_FALSE(dialog_.isVisible());
    const auto stored = ReadProfile(store_, kCnpj);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->usuario, c.stored.usuario);
    EXPECT_EQ(stored->senha, c.stored.senha);
    EXPECT_EQ(stored->tipo, c.stored.tipo);
    EXPECT_EQ(stored->caminho, c.stored.caminho);
    EXPECT_EQ(stored->enviar, c.stored.enviar);
    // The same row, still current, shows the new values.
    EXPECT_EQ(table_.RecordCount(), 2);
    EXPECT_EQ(table_.CurrentRow(), editedRow_);
    EXPECT_EQ(table_.State(), TableState::Browse);
    EXPECT_EQ(table_.FieldText("CNPJ"), kCnpj);
    EXPECT_EQ(table_.FieldText("USUARIO"), c.stored.usuario);
    EXPECT_EQ(table_.FieldText("SENHA"), c.stored.senha);
    EXPECT_EQ(table_.FieldInt("TIPO"), c.stored.tipo);
    EXPECT_EQ(table_.FieldText("CAMINHO"), c.stored.caminho);
    EXPECT_EQ(table_.FieldText("ENVIAR"), "N");
  }
  // The other profile was not touched.
  EXPECT_EQ(ReadProfile(store_, kOtherCnpj)->usuario, "outro");
}

TEST_F(EditProfileTest, ARefusedValueKeepsTheDialogOpenAndTheOldProfileOnDisk) {
  const QByteArray before = FileBytes();
  ScriptedMessageAnswers messages{1};
  ScriptedProfileDialog script{[&](TF_Registro& d) {
    d.Edit_Usuario->setText(QStringLiteral(" ana"));  // would not load back as typed
    d.Edit_Senha->setText(QStringLiteral("outra"));
    d.BitBtn_Confirma->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Edit_Usuario->text(), QStringLiteral(" ana"));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(table_.FieldText("USUARIO"), "usuario-de-vinte-e-c");
    d.BitBtn_Sair->click();
  }};
  EXPECT_FALSE(dialog_.EditProfile());
  ASSERT_EQ(messages.Asked().size(), 1u);
  EXPECT_EQ(messages.Asked()[0].kind, MessageKind::Error);
  EXPECT_TRUE(messages.Asked()[0].text.contains(QStringLiteral("Usuário"))) << messages.Asked()[0].text.toStdString();
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(table_.CurrentRow(), editedRow_);
  EXPECT_EQ(table_.FieldText("SENHA"), "s3nh4");
}

TEST_F(EditProfileTest, SairAndTheCloseBoxChangeNothingAndAnAdditionStartsEmptyAgain) {
  const QByteArray before = FileBytes();
  ScriptedProfileDialog script{
      [](TF_Registro& d) {
        d.Edit_Usuario->setText(QStringLiteral("mudado"));
        d.TipoItem(0)->click();
        d.BitBtn_Sair->click();
      },
      [](TF_Registro& d) {
        d.Edit_Caminho->setText(QStringLiteral("/outra/"));
        d.close();
      },
      [](TF_Registro& d) {
        EXPECT_FALSE(d.Editing());
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8(kRegistroCaption));
        EXPECT_TRUE(d.Edit_Usuario->text().isEmpty());
        EXPECT_TRUE(d.Edit_Senha->text().isEmpty());
        EXPECT_TRUE(d.Edit_Caminho->text().isEmpty());
        EXPECT_EQ(d.TipoIndex(), 0);
        d.BitBtn_Sair->click();
      }};
  EXPECT_FALSE(dialog_.EditProfile());
  EXPECT_FALSE(dialog_.EditProfile());
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(table_.FieldText("USUARIO"), "usuario-de-vinte-e-c");
  EXPECT_EQ(table_.FieldInt("TIPO"), 1);
  EXPECT_FALSE(dialog_.AddProfile("11444777000242"));
  EXPECT_EQ(script.Pending(), 0u);
}

TEST_F(EditProfileTest, AProfileRemovedElsewhereIsShownAsListedAndStoredAgain) {
  store_.Remove(kCnpj);
  ScriptedProfileDialog script{[](TF_Registro& d) {
    EXPECT_EQ(d.Edit_Usuario->text(), QStringLiteral("usuario-de-vinte-e-c"));
    EXPECT_EQ(d.Edit_Caminho->text(), QStringLiteral("/dados/Nfp/"));
    d.BitBtn_Confirma->click();
  }};
  ASSERT_TRUE(dialog_.EditProfile());
  const auto stored = ReadProfile(store_, kCnpj);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->usuario, "usuario-de-vinte-e-c");
  EXPECT_EQ(table_.RecordCount(), 2);
}

TEST_F(EditProfileTest, ACategoryNoPositionShowsIsKeptUnlessOneIsChosen) {
  SaveProfile(store_, kCnpj, "ana", "s", -3, "/d/");
  ScriptedProfileDialog script{
      [](TF_Registro& d) {
        EXPECT_EQ(d.TipoIndex(), -1);
        d.BitBtn_Confirma->click();
      },
      [](TF_Registro& d) {
        d.TipoItem(1)->click();
        d.BitBtn_Confirma->click();
      }};
  ASSERT_TRUE(dialog_.EditProfile());
  EXPECT_EQ(ReadProfile(store_, kCnpj)->tipo, -3);
  ASSERT_TRUE(dialog_.EditProfile());
  EXPECT_EQ(ReadProfile(store_, kCnpj)->tipo, 1);
}

TEST(ReadCnpj, Table) {
  struct Case {
    const char* typed;
    std::optional<std::string> digits;
  };
  for (const Case& c : {Case{"11222333000181", "11222333000181"},
                        Case{"11.222.333/0001-81", "11222333000181"},
                        Case{" 11 222 333 0001 81 ", "11222333000181"},
                        Case{"11.444.777/0001-61", "11444777000161"},
                        Case{"11222333000182", std::nullopt},
                        Case{"11222333000191", std::nullopt},
                        Case{"1122233300018", std::nullopt},
                        Case{"112223330001810", std::nullopt},
                        Case{"11222333000l81", std::nullopt},
                        Case{"11_222_333_0001_81", std::nullopt},
                        Case{"", std::nullopt}}) {
    EXPECT_EQ(ReadCnpj(c.typed), c.digits) << c.typed;
  }
}

}  // namespace
}  // namespace nfp
