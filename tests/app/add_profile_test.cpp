// The add-profile button of the "Registro(s)" tab and the profile dialog it
// opens, over a real profile file.
#include "main_window_fixture.h"

#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "app/radio_group.h"
#include "profiles/f_registro.h"
#include "profiles/profile_operations.h"
#include "widgets/zeltra_browser.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace nfp::test {
namespace {

constexpr const char* kNewCnpj = "11444777000161";

class AddProfileTest : public MainWindowTest {
protected:
    static ScriptedProfileDialog::Action Fill(QString user, QString password, int tipo, QString folder)
    {
        return [=](TF_Registro& d) {
            d.Edit_Usuario->setText(user);
            d.Edit_Senha->setText(password);
            d.SetTipoIndex(tipo);
            d.Edit_Caminho->setText(folder);
            d.BitBtn_ConfirmaClick();
        };
    }
};

TEST_F(AddProfileTest, NewProfileIsStoredListedWithATickAndShownLocked)
{
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, "/um/");
    TF_NFP& w = Open();
    w.PageControl->setCurrentWidget(w.TabSheet_Enviar);
    ScriptedCnpjAnswers cnpj{QString("11.444.777/0001-61")};
    ScriptedProfileDialog dialog{Fill("novo", "segredo", 1, Folder("Nfp"))};
    w.BitBtn_Registro->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(w.Registros_Table().RecordCount(), 2);
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 1);
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "S");
    EXPECT_EQ(w.Edit_CNPJ->text(), kNewCnpj);
    EXPECT_EQ(w.Edit_Usuario->text(), "novo");
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), 1);
    EXPECT_FALSE(w.Edit_CNPJ->isEnabled());
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);
    EXPECT_EQ(w.DBGrid_Registros->currentIndex().row(), 1);
    // The folder keeps its letter case and gets one "/".
    EXPECT_EQ(w.Registros_Table().FieldText("CAMINHO"), (Folder("Nfp") + "/").toStdString());
    const auto stored = store->Read(kNewCnpj);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->tipo, 1);
}

TEST_F(AddProfileTest, ACnpjAlreadyListedMovesToItAndOpensNothing)
{
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, "/um/");
    SaveProfile(*store, kNewCnpj, "outro", "x", 2, "/dois/");
    TF_NFP& w = Open();
    w.Registros_Table().First();
    const bool newFirst = w.Edit_CNPJ->text() == kNewCnpj;
    if (newFirst)
        w.Registros_Table().Next();
    ScriptedCnpjAnswers cnpj{QString(kNewCnpj)};
    ScriptedProfileDialog dialog{Fill("x", "y", 0, "/z/")};
    ScriptedMessageAnswers answers{MsgResult::Ok};
    w.BitBtn_Registro->click();
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Error);
    EXPECT_EQ(dialog.Pending(), 1u);
    EXPECT_EQ(w.Edit_CNPJ->text(), kNewCnpj);
    EXPECT_EQ(w.Registros_Table().RecordCount(), 2);
}

TEST_F(AddProfileTest, SairStoresNothingAndASecondOpeningStartsEmpty)
{
    TF_NFP& w = Open();
    QStringList seenOnSecondOpening;
    ScriptedCnpjAnswers cnpj{QString(kNewCnpj), QString(kNewCnpj)};
    ScriptedProfileDialog dialog{
        [](TF_Registro& d) {
            d.Edit_Usuario->setText("digitado");
            d.Edit_Senha->setText("senha");
            d.Edit_Caminho->setText("/x/");
            d.SetTipoIndex(2);
            d.BitBtn_SairClick();
        },
        [&](TF_Registro& d) {
            seenOnSecondOpening << d.Edit_Usuario->text() << d.Edit_Senha->text() << d.Edit_Caminho->text()
                                << QString::number(d.TipoIndex()) << d.Edit_CNPJ->text();
            d.BitBtn_SairClick();
        }};
    w.BitBtn_Registro->click();
    w.BitBtn_Registro->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(w.Registros_Table().RecordCount(), 0);
    EXPECT_TRUE(store->ProfileKeys().empty());
    EXPECT_EQ(seenOnSecondOpening, (QStringList{"", "", "", "0", kNewCnpj}));
    // The login panel is still the typed one.
    EXPECT_TRUE(w.Edit_Usuario->isEnabled());
}

TEST_F(AddProfileTest, FolderWithAndWithoutItsSlash)
{
    TF_NFP& w = Open();
    const struct { const char* cnpj; QString folder; std::string stored; } cases[] = {
        {kNewCnpj, Folder("a"), (Folder("a") + "/").toStdString()},
        {"11222333000181", Folder("b") + "/", (Folder("b") + "/").toStdString()},
    };
    for (const auto& c : cases) {
        ScriptedCnpjAnswers cnpj{QString(c.cnpj)};
        ScriptedProfileDialog dialog{Fill("u", "s", 0, c.folder)};
        w.BitBtn_Registro->click();
        EXPECT_EQ(w.Registros_Table().FieldText("CAMINHO"), c.stored);
    }
    EXPECT_EQ(w.Registros_Table().RecordCount(), 2);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(AddProfileTest, AnInvalidCnpjOpensNothing)
{
    TF_NFP& w = Open();
    ScriptedCnpjAnswers cnpj{QString("11444777000162")};
    ScriptedProfileDialog dialog{Fill("u", "s", 0, "/x/")};
    ScriptedMessageAnswers answers{MsgResult::Ok};
    w.BitBtn_Registro->click();
    EXPECT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(dialog.Pending(), 1u);
    EXPECT_EQ(w.Registros_Table().RecordCount(), 0);
}

} // namespace
} // namespace nfp::test
