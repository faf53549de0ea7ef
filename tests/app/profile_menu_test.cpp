// Changing a listed profile in place, and the context menu of the profile
// list: Enter and "Editar...", the mark, "Excluir", "Importar perfis...".
#include "service_fixture.h"

#include "app/data_grid.h"
#include "app/exit_line_edit.h"
#include "app/local_message_dlg.h"
#include "app/open_file_dialog.h"
#include "profiles/f_importar.h"
#include "profiles/f_registro.h"
#include "profiles/profile_operations.h"
#include "sending/send_queue.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace nfp::test {
namespace {

class ProfileMenuTest : public MainWindowServiceTest {
protected:
    void StoreThree()
    {
        SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
        SaveProfile(*store, "44555666000181", "contador", "conta456", 1, Folder("dois").toStdString() + "/");
        SaveProfile(*store, "77888999000181", "outro", "outra789", 2, Folder("tres").toStdString() + "/");
    }
    void Choose(TF_NFP& w, int row)
    {
        w.DBGrid_Registros->selectionModel()->setCurrentIndex(
            w.DBGrid_Registros->model()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    std::vector<QString> MenuTexts(TF_NFP& w)
    {
        std::vector<QString> texts;
        for (QAction* a : w.PopupMenu_Registros->actions())
            texts.push_back(a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }
};

TEST_F(ProfileMenuTest, EnterEditsTheCurrentProfileAndTheRowStaysWhereItIs)
{
    StoreThree();
    TF_NFP& w = Open();
    w.DBGrid_Registros->setFocus();
    Choose(w, 1);
    const std::string cnpj = w.Registros_Table().FieldText("CNPJ");
    QString shownCnpj;
    ScriptedProfileDialog dialog{[&](TF_Registro& d) {
                                     shownCnpj = d.Edit_CNPJ->text();
                                     d.Edit_Usuario->setText("alterado");
                                     d.Edit_Senha->setText("nova-senha");
                                     d.SetTipoIndex(2);
                                     d.BitBtn_ConfirmaClick();
                                 },
                                 // The keypad's Enter too; Sair changes nothing.
                                 [](TF_Registro& d) {
                                     d.Edit_Usuario->setText("descartado");
                                     d.BitBtn_SairClick();
                                 }};
    QTest::keyClick(w.DBGrid_Registros, Qt::Key_Return);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(shownCnpj.toStdString(), cnpj);
    EXPECT_EQ(w.Registros_Table().RecordCount(), 3);
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 1);
    EXPECT_EQ(w.DBGrid_Registros->currentIndex().row(), 1);
    EXPECT_EQ(w.Edit_CNPJ->text().toStdString(), cnpj);
    EXPECT_EQ(w.Edit_Usuario->text(), "alterado");
    EXPECT_EQ(w.Edit_Senha->text(), "nova-senha");
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), 2);
    EXPECT_EQ(ReadProfile(*store, cnpj)->usuario, "alterado");

    QTest::keyClick(w.DBGrid_Registros, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog.Pending(), 0u);
    EXPECT_EQ(w.Edit_Usuario->text(), "alterado");
    EXPECT_EQ(ReadProfile(*store, cnpj)->usuario, "alterado");
    // The grid has the keyboard again once the dialog is gone.
    EXPECT_TRUE(w.DBGrid_Registros->isEnabled());
    EXPECT_EQ(w.focusWidget(), w.DBGrid_Registros);
}

TEST_F(ProfileMenuTest, TheHintLabelTellsTheKeys)
{
    TF_NFP& w = Open();
    EXPECT_TRUE(w.Label_Del->text().contains("Enter")) << w.Label_Del->text().toStdString();
    EXPECT_TRUE(w.Label_Del->text().contains("Delete")) << w.Label_Del->text().toStdString();
    EXPECT_GE(w.Label_Del->width(), w.Label_Del->sizeHint().width());
}

TEST_F(ProfileMenuTest, TheMenuItemsDoWhatTheKeysAndTheDoubleClickDo)
{
    StoreThree();
    TF_NFP& w = Open();
    EXPECT_EQ(MenuTexts(w), (std::vector<QString>{"Editar...", "Marcar/Desmarcar para envio", "Excluir", "-",
                                                  "Importar perfis..."}));
    Choose(w, 2);
    const std::string cnpj = w.Registros_Table().FieldText("CNPJ");

    w.PopupMenu_RegistrosPopup();
    for (QAction* a : {w.MenuItem_Editar, w.MenuItem_Marcar, w.MenuItem_Excluir})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();

    w.MenuItem_Marcar->trigger();
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "N");
    EXPECT_EQ(ReadProfile(*store, cnpj)->enviar, false);

    {
        ScriptedProfileDialog dialog{[](TF_Registro& d) {
            d.Edit_Caminho->setText("/nova/pasta");
            d.BitBtn_ConfirmaClick();
        }};
        w.MenuItem_Editar->trigger();
        EXPECT_EQ(dialog.Pending(), 0u);
    }
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 2);
    EXPECT_EQ(w.Registros_Table().FieldText("CAMINHO"), "/nova/pasta/");
    // The change keeps the mark as it was listed.
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "N");
    EXPECT_EQ(ReadProfile(*store, cnpj)->enviar, false);

    {
        ScriptedMessageAnswers answers{MsgResult::No, MsgResult::Yes};
        w.MenuItem_Excluir->trigger();
        EXPECT_EQ(w.Registros_Table().RecordCount(), 3);
        w.MenuItem_Excluir->trigger();
        ASSERT_EQ(answers.Asked().size(), 2u);
        EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Confirmation);
    }
    EXPECT_EQ(w.Registros_Table().RecordCount(), 2);
    EXPECT_FALSE(ReadProfile(*store, cnpj).has_value());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(ProfileMenuTest, ARightClickChoosesTheRowAndOpensTheMenuOnIt)
{
    StoreThree();
    TF_NFP& w = Open();
    w.PageControl->setCurrentWidget(w.TabSheet_Registro);
    QWidget* viewport = w.DBGrid_Registros->viewport();
    const QPoint at = w.DBGrid_Registros->visualRect(w.DBGrid_Registros->model()->index(2, 1)).center();
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 2);
    ASSERT_EQ(QApplication::activePopupWidget(), w.PopupMenu_Registros);
    EXPECT_TRUE(w.MenuItem_Marcar->isEnabled());
    w.MenuItem_Marcar->trigger();
    w.PopupMenu_Registros->close();
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "N");
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 2);
}

TEST_F(ProfileMenuTest, OnAnEmptyListTheItemsForAProfileAreOff)
{
    TF_NFP& w = Open();
    w.PopupMenu_RegistrosPopup();
    for (QAction* a : {w.MenuItem_Editar, w.MenuItem_Marcar, w.MenuItem_Excluir})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(w.MenuItem_Importar->isEnabled());
    ScriptedProfileDialog dialog{[](TF_Registro& d) { d.BitBtn_SairClick(); }};
    ScriptedMessageAnswers answers;
    QTest::keyClick(w.DBGrid_Registros, Qt::Key_Return);
    w.MenuItem_Editar->trigger();
    EXPECT_EQ(dialog.Pending(), 1u);
    EXPECT_TRUE(answers.Asked().empty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(ProfileMenuTest, NothingIsChangedWhileASendRunWorks)
{
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
    WriteFile("um", "A.139", "a\n");
    WriteFile("um", "B.139", "b\n");
    TF_NFP& w = Open();
    AppendQueueRow(w.Enviar_Table(), "A.139", Folder("um").toStdString() + "/");
    AppendQueueRow(w.Enviar_Table(), "B.139", Folder("um").toStdString() + "/");
    const QByteArray before = [&] {
        QFile f(QString::fromStdString(store->FilePath()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ScriptedProfileDialog dialog{[](TF_Registro& d) {
        d.Edit_Usuario->setText("durante");
        d.BitBtn_ConfirmaClick();
    }};
    ScriptedOpenFileAnswers files;
    bool tried = false;
    bool anyItemOn = true;
    // Runs inside the run's first processing of pending events.
    QTimer::singleShot(0, &w, [&] {
        w.PopupMenu_RegistrosPopup();
        anyItemOn = w.MenuItem_Editar->isEnabled() || w.MenuItem_Marcar->isEnabled() ||
                    w.MenuItem_Excluir->isEnabled() || w.MenuItem_Importar->isEnabled();
        w.ImportarRegistros();
        w.EditarRegistro();
        w.MenuItem_Editar->trigger();
        w.DBGrid_RegistrosKeyDown(Qt::Key_Return, Qt::NoModifier);
        w.DBGrid_RegistrosDblClick();
        w.MenuItem_Marcar->trigger();
        w.ExcluirRegistro();
        w.MenuItem_Excluir->trigger();
        tried = true;
    });
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    EXPECT_TRUE(tried);
    EXPECT_FALSE(anyItemOn);
    EXPECT_EQ(dialog.Pending(), 1u);
    EXPECT_TRUE(files.Requests().empty());
    EXPECT_EQ(answers.Asked().size(), 1u); // the send question only
    EXPECT_EQ(Requests().size(), 2u);
    EXPECT_EQ(w.Registros_Table().RecordCount(), 1);
    EXPECT_EQ(w.Registros_Table().FieldText("ENVIAR"), "S");
    EXPECT_EQ(w.Registros_Table().FieldText("USUARIO"), "demo");
    QFile f(QString::fromStdString(store->FilePath()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(ProfileMenuTest, AScheduleFallingDueWhileAProfileIsEditedWaitsAndSendsWithTheNewValues)
{
    WriteFile("um", "A.139", "um A");
    WriteFile("novo", "N.139", "novo N");
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
    TF_NFP& w = Open();
    w.Timer->stop(); // only the test's ticks
    w.MaskEdit_Data->setText("03/2009");
    const auto tickAt = [&](int ss) {
        now = MomentAt(2025, 12, 8, 14, 29, ss);
        w.TimerTimer();
    };
    tickAt(58);
    w.MaskEdit_Agenda->setText("14:29:59");
    w.CheckBox_Agenda->setChecked(true);
    std::size_t sentWhileOpen = 99;
    ScriptedProfileDialog dialog{[&](TF_Registro& d) {
        tickAt(59);
        sentWhileOpen = Requests().size();
        d.Edit_Caminho->setText(Folder("novo"));
        d.BitBtn_ConfirmaClick();
    }};
    QTest::keyClick(w.DBGrid_Registros, Qt::Key_Return);
    EXPECT_EQ(sentWhileOpen, 0u);
    QApplication::processEvents();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].nomeArquivo, std::optional<std::string>("N.139"));
    EXPECT_FALSE(w.CheckBox_Agenda->isChecked());
}

TEST_F(ProfileMenuTest, AScheduleFallingDueWhileAProfileIsAddedWaitsAndSendsItsFilesToo)
{
    WriteFile("um", "A.139", "um A");
    WriteFile("novo", "N.139", "novo N");
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
    TF_NFP& w = Open();
    w.Timer->stop(); // only the test's ticks
    w.MaskEdit_Data->setText("03/2009");
    now = MomentAt(2025, 12, 8, 14, 29, 58);
    w.TimerTimer();
    w.MaskEdit_Agenda->setText("14:29:59");
    w.CheckBox_Agenda->setChecked(true);
    std::size_t sentWhileOpen = 99;
    ScriptedCnpjAnswers cnpj{QString("44555666000181")};
    ScriptedProfileDialog dialog{[&](TF_Registro& d) {
        now = MomentAt(2025, 12, 8, 14, 29, 59);
        w.TimerTimer();
        sentWhileOpen = Requests().size();
        d.Edit_Usuario->setText("contador");
        d.Edit_Senha->setText("conta456");
        d.SetTipoIndex(1);
        d.Edit_Caminho->setText(Folder("novo"));
        d.BitBtn_ConfirmaClick();
    }};
    w.BitBtn_Registro->click();
    EXPECT_EQ(sentWhileOpen, 0u);
    QApplication::processEvents();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    std::vector<std::optional<std::string>> sent;
    for (const auto& r : Requests())
        sent.push_back(r.nomeArquivo);
    EXPECT_EQ(sent, (std::vector<std::optional<std::string>>{"A.139", "N.139"}));
}

TEST_F(ProfileMenuTest, ImportarPerfisReadsAnExportAndListsWhatItStores)
{
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, Folder("um").toStdString() + "/");
    TF_NFP& w = Open();
    const QString base = Folder("copia") + "/";
    QDir().mkpath(base + "Dados/nfp");
    ScriptedOpenFileAnswers files;
    files.Push(std::nullopt); // cancelled: nothing happens
    files.Push(QStringList{QStringLiteral(NFP_PROFILES_TEST_DATA "/perfis-versao5.reg")});
    ScriptedImportDialog dialog{[&](TF_Importar& d) {
        EXPECT_FALSE(d.Ticked(0)); // already listed
        d.Edit_Base->setText(base);
        d.BitBtn_ImportarClick();
    }};
    ScriptedMessageAnswers answers{MsgResult::Ok};
    w.MenuItem_Importar->trigger();
    EXPECT_EQ(w.Registros_Table().RecordCount(), 1);
    EXPECT_EQ(dialog.Pending(), 1u);
    w.MenuItem_Importar->trigger();
    EXPECT_EQ(dialog.Pending(), 0u);
    ASSERT_EQ(files.Requests().size(), 2u);
    EXPECT_EQ(files.Requests()[0].pattern, "*.reg");
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].text, "2 perfis importados.");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();

    ASSERT_EQ(w.Registros_Table().RecordCount(), 3);
    EXPECT_EQ(w.Registros_Table().TextAt(0, 1), "demo");
    EXPECT_EQ(w.Registros_Table().TextAt(2, 0), "77888999000181");
    EXPECT_EQ(w.Registros_Table().TextAt(2, 4), (base + "Dados/nfp/").toStdString());
    // The panel follows the last profile listed.
    EXPECT_EQ(w.Edit_CNPJ->text(), "77888999000181");
    EXPECT_EQ(w.Edit_Usuario->text(), "outro");
    // And the next start lists the same.
    window.reset();
    TF_NFP& again = Open();
    EXPECT_EQ(again.Registros_Table().RecordCount(), 3);
}

} // namespace
} // namespace nfp::test
