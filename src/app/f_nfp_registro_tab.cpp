// The "Registro(s)" tab: the profile list, with the category and the send
// flag drawn in their own way, and what is done to its profiles: add,
// change, mark, remove.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "app/open_file_dialog.h"
#include "app/profile_cell_delegate.h"
#include "app/radio_group.h"
#include "app/table_model.h"
#include "profiles/f_importar.h"
#include "profiles/f_registro.h"
#include "profiles/profile_list.h"
#include "profiles/profile_operations.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

namespace nfp {

void TF_NFP::BuildRegistroTab()
{
    QWidget* t = TabSheet_Registro;
    BitBtn_Registro = MakeBitBtn(t, "BitBtn_Registro", QStringLiteral("Adicionar Registro"),
                                 style()->standardIcon(QStyle::SP_FileDialogNewFolder), {7, 8, 148, 28});
    Label_Del =
        MakeLabel(t, "Label_Del", QStringLiteral("Enter - Altera  /  Delete - Exclui Registro"), {378, 7, 114, 13});
    Label1 = MakeLabel(t, "Label1", QStringLiteral("DuploClick - Marca/Desmarca para Enviar"), {378, 28, 200, 13});

    DBGrid_Registros = Placed(new DataGrid(t), "DBGrid_Registros", {7, 42, 596, 281});
    registrosModel_ = std::make_unique<TableModel>(CDS_Registros,
                                  std::vector<ModelColumn>{{"CNPJ", QStringLiteral("C.N.P.J.")},
                                   {"USUARIO", QStringLiteral("Usuário")},
                                   {"TIPO", QStringLiteral("Tipo")},
                                   {"CAMINHO", QStringLiteral("Caminho (Pasta)")},
                                   {"ENVIAR", QStringLiteral("Enviar")}},
                                  nullptr);
    DS_Registros = registrosModel_.get();
    DS_Registros->setObjectName(QStringLiteral("DS_Registros"));
    BindGridToModel(DBGrid_Registros, DS_Registros);
    DBGrid_Registros->setColumnWidths({95, 100, 65, 265, 35});
    DBGrid_Registros->setItemDelegate(
        new ProfileCellDelegate(DS_Registros->columnOf("TIPO"), DS_Registros->columnOf("ENVIAR"), DBGrid_Registros));
    DBGrid_Registros->setKeyHandler(
        [this](int key, Qt::KeyboardModifiers modifiers) { return DBGrid_RegistrosKeyDown(key, modifiers); });
    connect(DBGrid_Registros, &DataGrid::doubleClickedAnywhere, this,
            [this] { Guarded([this] { DBGrid_RegistrosDblClick(); }); });
    connect(BitBtn_Registro, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_RegistroClick(); }); });

    PopupMenu_Registros = new QMenu(DBGrid_Registros);
    PopupMenu_Registros->setObjectName(QStringLiteral("PopupMenu_Registros"));
    const auto item = [this](const char* name, const QString& text, std::function<void()> handler) {
        QAction* action = PopupMenu_Registros->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
        return action;
    };
    MenuItem_Editar = item("MenuItem_Editar", QStringLiteral("Editar..."), [this] { EditarRegistro(); });
    MenuItem_Marcar = item("MenuItem_Marcar", QStringLiteral("Marcar/Desmarcar para envio"),
                           [this] { DBGrid_RegistrosDblClick(); });
    MenuItem_Excluir = item("MenuItem_Excluir", QStringLiteral("Excluir"), [this] { ExcluirRegistro(); });
    PopupMenu_Registros->addSeparator();
    MenuItem_Importar =
        item("MenuItem_Importar", QStringLiteral("Importar perfis..."), [this] { ImportarRegistros(); });
    connect(PopupMenu_Registros, &QMenu::aboutToShow, this, [this] { PopupMenu_RegistrosPopup(); });
    DBGrid_Registros->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid_Registros, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu_Registros->popup(DBGrid_Registros->viewport()->mapToGlobal(at));
    });
    CDS_Registros.Subscribe([this](const TableEvent&) { DS_RegistrosDataChange(); });
}

void TF_NFP::DS_RegistrosDataChange()
{
    const LoginPanelState panel = LoginPanelFor(CDS_Registros);
    Edit_Usuario->setText(QString::fromStdString(panel.usuario));
    Edit_Senha->setText(QString::fromStdString(panel.senha));
    Edit_CNPJ->setText(QString::fromStdString(panel.cnpj));
    if (panel.tipoIndex)
        RadioGroup_Tipo->setItemIndex(*panel.tipoIndex);
    Edit_Usuario->setEnabled(!panel.locked);
    Edit_Senha->setEnabled(!panel.locked);
    Edit_CNPJ->setEnabled(!panel.locked);
    RadioGroup_Tipo->setEnabled(!panel.locked);
    if (panel.locked)
        PageControl->setCurrentWidget(TabSheet_Registro);
}

void TF_NFP::DBGrid_RegistrosDblClick()
{
    // Nothing may change the profile a running operation works with.
    if (IsBusy() || CDS_Registros.RecordCount() == 0)
        return;
    const std::string flag = ToggledSendFlag(CDS_Registros.FieldText("ENVIAR"));
    // Stored first: a mark the store refused stays as it was on screen too.
    SaveSendMark(*Setup().store, CDS_Registros.FieldText("CNPJ"), flag == "S");
    CDS_Registros.Edit();
    CDS_Registros.SetField("ENVIAR", flag);
    CDS_Registros.Post();
}

bool TF_NFP::DBGrid_RegistrosKeyDown(int key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_Delete:
        ExcluirRegistro();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditarRegistro();
        return true;
    default:
        return false;
    }
}

void TF_NFP::ExcluirRegistro()
{
    if (IsBusy() || CDS_Registros.RecordCount() == 0)
        return;
    int answer = MsgResult::Cancel;
    {
        // A scheduled batch would move the current profile under the
        // question: it waits until the profile asked about is removed.
        const BusyScope asking(*this);
        answer = LocalMessageDlg("Confirma Exclusão do Registro ?", MessageKind::Confirmation, MsgButton::YesNo,
                                 MsgResult::No, 0);
    }
    if (answer != MsgResult::Yes)
        return;
    RemoveProfile(*Setup().store, Edit_CNPJ->text().toStdString());
    CDS_Registros.Delete();
}

void TF_NFP::EditarRegistro()
{
    if (IsBusy() || CDS_Registros.RecordCount() == 0)
        return;
    // A schedule falling due while the dialog is open waits for it, so the
    // batch neither moves the profile being changed nor sends with its old
    // values.
    const BusyScope editing(*this);
    F_Registro->EditProfile();
}

void TF_NFP::BitBtn_RegistroClick()
{
    if (IsBusy())
        return;
    // As for a change: the batch would walk a table the dialog appends to.
    const BusyScope adding(*this);
    F_Registro->AddProfile();
}

void TF_NFP::ImportarRegistros()
{
    if (IsBusy())
        return;
    // As for an addition: the batch would walk a table the import appends to.
    const BusyScope importing(*this);
    const auto files = ExecuteOpenFileDialog(
        this, {QStringLiteral("Importar perfis"), QStringLiteral("Exportação do Registro do Windows"),
               QStringLiteral("*.reg")});
    if (!files)
        return;
    for (const QString& file : *files)
        TF_Importar::ImportFile(CDS_Registros, *Setup().store, file, this);
}

void TF_NFP::PopupMenu_RegistrosPopup()
{
    const bool any = CDS_Registros.RecordCount() > 0 && !IsBusy();
    for (QAction* action : {MenuItem_Editar, MenuItem_Marcar, MenuItem_Excluir})
        action->setEnabled(any);
    MenuItem_Importar->setEnabled(!IsBusy());
}

} // namespace nfp
