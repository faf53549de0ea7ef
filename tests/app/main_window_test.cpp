// The main window's frame, layout, tab orders and start-up state.
#include "main_window_fixture.h"

#include "app/data_grid.h"
#include "app/date_edit.h"
#include "app/exit_line_edit.h"
#include "app/radio_group.h"
#include "app/status_bar.h"
#include "app/table_model.h"
#include "profiles/profile_operations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

namespace nfp::test {
namespace {

TEST_F(MainWindowTest, FrameIsFixedWithTitleAndClientSize)
{
    TF_NFP& w = Open();
    EXPECT_EQ(w.objectName(), "F_NFP");
    EXPECT_EQ(w.windowTitle(), "Software de Envio de arquivos da Nota Fiscal Paulista");
    EXPECT_EQ(w.size(), QSize(778, 391));
    EXPECT_EQ(w.minimumSize(), QSize(778, 391));
    EXPECT_EQ(w.maximumSize(), QSize(778, 391));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    // Without the customize hint the platform adds its own buttons back;
    // a normal window, not a dialog, keeps the program in the task list.
    EXPECT_EQ(w.windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_TRUE(w.windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowTitleHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(w.font().pixelSize(), 11);
    EXPECT_EQ(w.font().family(), "MS Sans Serif");
}

struct Bounds {
    const char* name;
    QRect rect;
};

TEST_F(MainWindowTest, ControlsStandAtTheirBounds)
{
    TF_NFP& w = Open();
    const Bounds cases[] = {
        {"GroupBox_Login", {7, 0, 141, 218}},
        {"GroupBox_Agenda", {7, 217, 141, 113}},
        {"PageControl", {153, 7, 618, 358}},
        {"Memo_Enviar", {154, 7, 624, 365}},
        {"BitBtn_Sair", {35, 340, 85, 25}},
        {"StatusBar", {0, 372, 778, 19}},
        {"Edit_Usuario", {7, 28, 127, 22}},
        {"Edit_Senha", {7, 63, 127, 22}},
        {"Edit_CNPJ", {7, 98, 127, 22}},
        {"RadioGroup_Tipo", {7, 126, 127, 85}},
        {"DateEdit_Agenda", {7, 28, 106, 22}},
        {"MaskEdit_Agenda", {7, 63, 78, 22}},
        {"CheckBox_Agenda", {7, 91, 127, 17}},
        {"MaskEdit_Data", {7, 14, 64, 22}},
        {"BitBtn_Arquivos", {77, 8, 99, 28}},
        {"BitBtn_Pasta", {182, 8, 99, 28}},
        {"ComboBox_Envio", {294, 14, 141, 22}},
        {"ComboBox_Retificacao", {448, 14, 57, 22}},
        {"BitBtn_Enviar", {518, 9, 85, 28}},
        {"DBGrid_Enviar", {7, 42, 596, 260}},
        {"ProgressBar", {91, 308, 512, 22}},
        {"DBGrid1", {7, 7, 183, 316}},
        {"DBMemo_Resultado", {196, 42, 407, 281}},
        {"BitBtn_Reconsultar", {196, 5, 106, 28}},
        {"BitBtn_Imprimir", {518, 5, 85, 28}},
        {"Edit_Protocolo", {7, 14, 92, 22}},
        {"Memo", {112, 14, 491, 309}},
        {"BitBtn_Consultar", {7, 47, 92, 28}},
        {"DateEdit", {7, 14, 106, 22}},
        {"Edit_Sigla", {7, 49, 43, 22}},
        {"BitBtn_Registro", {7, 8, 148, 28}},
        {"DBGrid_Registros", {7, 42, 596, 281}},
    };
    for (const auto& c : cases) {
        auto* control = w.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.rect) << c.name;
    }
    // Labels keep their place and grow only when the stand-in font needs it.
    const Bounds labels[] = {
        {"Label_Usuario", {7, 16, 39, 13}},     {"Label_Periodo", {7, 2, 47, 13}},
        {"Label_Processamento", {294, 2, 115, 13}}, {"Label_Status", {7, 315, 77, 16}},
        {"Label_Protocolo", {7, 2, 48, 13}},    {"Label1", {378, 28, 200, 13}},
    };
    for (const auto& c : labels) {
        auto* label = w.findChild<QLabel*>(QString::fromLatin1(c.name));
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->pos(), c.rect.topLeft()) << c.name;
        EXPECT_EQ(label->height(), c.rect.height()) << c.name;
        EXPECT_GE(label->width(), c.rect.width()) << c.name;
        EXPECT_GE(label->width(), label->sizeHint().width() - 1) << c.name;
    }
}

TEST_F(MainWindowTest, TabsCaptionsFontsAndGrids)
{
    TF_NFP& w = Open();
    ASSERT_EQ(w.PageControl->count(), 5);
    const char* names[] = {"TabSheet_Enviar", "TabSheet_Resultado", "TabSheet_Consultar", "TabSheet_Calcular",
                           "TabSheet_Registro"};
    const char* captions[] = {"Enviar", "Resultado", "Consultar", "Calcular", "Registro(s)"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w.PageControl->widget(i)->objectName(), names[i]);
        EXPECT_EQ(w.PageControl->tabText(i), captions[i]);
    }
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);

    EXPECT_EQ(w.Edit_Senha->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w.Edit_Senha->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, w.Edit_Senha), '#');
    EXPECT_EQ(w.Edit_CNPJ->maxLength(), 14);
    EXPECT_EQ(w.Edit_Protocolo->maxLength(), 9);
    EXPECT_EQ(w.Edit_Sigla->maxLength(), 3);
    EXPECT_EQ(w.MaskEdit_Data->inputMask(), "99/9999;_");
    EXPECT_EQ(w.MaskEdit_Agenda->inputMask(), "09:99:99;_");
    struct FontCase { QWidget* control; const char* family; int pixels; };
    const FontCase fonts[] = {
        {w.Edit_Usuario, "MS Sans Serif", 13}, {w.Edit_Senha, "Verdana", 13}, {w.Edit_CNPJ, "Verdana", 13},
        {w.MaskEdit_Data, "Verdana", 13},      {w.ComboBox_Envio, "MS Sans Serif", 13},
        {w.Label_Status, "MS Sans Serif", 13}, {w.Edit_Protocolo, "Verdana", 13},
        {w.Memo, "MS Sans Serif", 11},         {w.DateEdit, "Verdana", 13},
        {w.Edit_Sigla, "Verdana", 13},         {w.DateEdit_Agenda, "Verdana", 13},
    };
    for (const auto& f : fonts) {
        EXPECT_EQ(f.control->font().family(), f.family) << f.control->objectName().toStdString();
        EXPECT_EQ(f.control->font().pixelSize(), f.pixels) << f.control->objectName().toStdString();
    }
    EXPECT_EQ(w.ComboBox_Envio->itemText(0), "Simples Validação");
    EXPECT_EQ(w.ComboBox_Envio->itemText(1), "Processamento");
    EXPECT_EQ(w.ComboBox_Retificacao->itemText(0), "Não");
    EXPECT_EQ(w.ComboBox_Retificacao->itemText(1), "Sim");
    EXPECT_EQ(w.BitBtn_Enviar->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(w.Memo_Enviar->isHidden());

    struct GridCase { QTableView* grid; std::vector<std::pair<QString, int>> columns; };
    const GridCase grids[] = {
        {w.DBGrid_Enviar, {{"Arquivo(s)", 90}, {"Caminho", 470}}},
        {w.DBGrid1, {{"Arquivo(s)", 90}, {"Protocolo", 60}}},
        {w.DBGrid_Registros,
         {{"C.N.P.J.", 95}, {"Usuário", 100}, {"Tipo", 65}, {"Caminho (Pasta)", 265}, {"Enviar", 35}}},
    };
    for (const auto& g : grids) {
        ASSERT_EQ(g.grid->model()->columnCount(), static_cast<int>(g.columns.size()));
        for (int c = 0; c < static_cast<int>(g.columns.size()); ++c) {
            EXPECT_EQ(g.grid->model()->headerData(c, Qt::Horizontal).toString(), g.columns[c].first);
            EXPECT_EQ(g.grid->columnWidth(c), g.columns[c].second);
        }
        EXPECT_EQ(g.grid->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(g.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_FALSE(g.grid->verticalHeader()->isHidden());
        EXPECT_EQ(g.grid->focusPolicy(), Qt::ClickFocus);
    }
}

TEST_F(MainWindowTest, StatusBarPanels)
{
    TF_NFP& w = Open();
    StatusBar* bar = w.StatusBar;
    ASSERT_EQ(bar->panelCount(), 4);
    EXPECT_EQ(bar->panelRect(0).x(), 0);
    EXPECT_EQ(bar->panelRect(1).x(), 100);
    EXPECT_EQ(bar->panelRect(2).x(), 350);
    EXPECT_EQ(bar->panelRect(3).x(), 420);
    EXPECT_EQ(bar->panelRect(3).right(), 777);
    EXPECT_EQ(bar->panelText(0), "Versão: 1.0.0.4 ");
    EXPECT_EQ(bar->panelText(1), "segunda-feira, 08 de dezembro de 2025");
    EXPECT_EQ(bar->panelText(2), "");
    EXPECT_EQ(bar->panelText(3), "");
    auto* clock = bar->findChild<QLabel*>("Panel2");
    ASSERT_NE(clock, nullptr);
    EXPECT_TRUE(clock->alignment() & Qt::AlignHCenter);

    w.TimerTimer();
    EXPECT_EQ(bar->panelText(2), "14:29:58");
    now = MomentAt(2025, 12, 9, 0, 0, 5);
    w.TimerTimer();
    EXPECT_EQ(bar->panelText(2), "00:00:05");
    // Past midnight only the clock moves on.
    EXPECT_EQ(bar->panelText(1), "segunda-feira, 08 de dezembro de 2025");
    EXPECT_EQ(w.Timer->interval(), 1000);
    EXPECT_TRUE(w.Timer->isActive());
}

// The controls a Tab key visits, in order, starting at `first`, among `among`.
std::vector<QString> FocusOrder(QWidget* first, const std::vector<QWidget*>& among)
{
    std::vector<QString> order;
    QWidget* w = first;
    do {
        if (std::find(among.begin(), among.end(), w) != among.end())
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != first);
    return order;
}

TEST_F(MainWindowTest, TabOrdersFollowEachContainer)
{
    TF_NFP& w = Open();
    EXPECT_EQ(FocusOrder(w.Edit_Usuario, {w.Edit_Usuario, w.Edit_Senha, w.Edit_CNPJ, w.RadioGroup_Tipo->item(0),
                                          w.DateEdit_Agenda, w.MaskEdit_Agenda, w.CheckBox_Agenda,
                                          w.PageControl, w.BitBtn_Sair}),
              (std::vector<QString>{"Edit_Usuario", "Edit_Senha", "Edit_CNPJ", "0_Contribuinte", "DateEdit_Agenda",
                                    "MaskEdit_Agenda", "CheckBox_Agenda", "PageControl", "BitBtn_Sair"}));
    EXPECT_EQ(FocusOrder(w.MaskEdit_Data, {w.MaskEdit_Data, w.BitBtn_Arquivos, w.BitBtn_Pasta, w.ComboBox_Envio,
                                           w.ComboBox_Retificacao, w.BitBtn_Enviar}),
              (std::vector<QString>{"MaskEdit_Data", "BitBtn_Arquivos", "BitBtn_Pasta", "ComboBox_Envio",
                                    "ComboBox_Retificacao", "BitBtn_Enviar"}));
    EXPECT_EQ(FocusOrder(w.Edit_Protocolo, {w.Edit_Protocolo, w.Memo, w.BitBtn_Consultar}),
              (std::vector<QString>{"Edit_Protocolo", "Memo", "BitBtn_Consultar"}));
    EXPECT_EQ(FocusOrder(w.DateEdit, {w.DateEdit, w.Edit_Sigla}),
              (std::vector<QString>{"DateEdit", "Edit_Sigla"}));
    // Grids and the reply memo are no tab stops.
    for (QWidget* c : std::initializer_list<QWidget*>{w.DBGrid_Enviar, w.DBGrid1, w.DBGrid_Registros,
                                                      w.DBMemo_Resultado, w.Memo_Enviar})
        EXPECT_FALSE(c->focusPolicy() & Qt::TabFocus) << c->objectName().toStdString();
}

TEST_F(MainWindowTest, StartUpWithoutProfiles)
{
    TF_NFP& w = Open();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);
    EXPECT_EQ(w.Registros_Table().RecordCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), w.Edit_Usuario);
    for (QLineEdit* e : {w.Edit_Usuario, w.Edit_Senha, w.Edit_CNPJ}) {
        EXPECT_TRUE(e->text().isEmpty());
        EXPECT_TRUE(e->isEnabled());
    }
    EXPECT_TRUE(w.RadioGroup_Tipo->isEnabled());
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), 2);
    EXPECT_EQ(w.MaskEdit_Data->text(), "12/2025");
    EXPECT_EQ(w.Label_Status->text(), "Status...");
    EXPECT_EQ(w.DateEdit_Agenda->fieldText(), "08/12/2025");
    EXPECT_EQ(w.MaskEdit_Agenda->text(), "::");
    EXPECT_FALSE(w.CheckBox_Agenda->isChecked());
    EXPECT_TRUE(w.Edit_Protocolo->text().isEmpty());
    EXPECT_EQ(w.DateEdit->fieldText(), "08/12/2025");
    EXPECT_EQ(w.Edit_Sigla->text(), "8CP");
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
    EXPECT_EQ(w.Enviados_Table().RecordCount(), 0);
}

TEST_F(MainWindowTest, StartUpWithTwoProfilesShowsTheFirstLocked)
{
    SaveProfile(*store, "11222333000181", "primeiro", "senha1", 1, "/dados/um/");
    SaveProfile(*store, "44555666000199", "segundo", "senha2", 7, "/dados/dois/");
    TF_NFP& w = Open();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(w.Registros_Table().RecordCount(), 2);
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 0);
    const QString first = w.Edit_CNPJ->text();
    EXPECT_TRUE(first == "11222333000181" || first == "44555666000199");
    const bool one = first == "11222333000181";
    EXPECT_EQ(w.Edit_Usuario->text(), one ? "primeiro" : "segundo");
    EXPECT_EQ(w.Edit_Senha->text(), one ? "senha1" : "senha2");
    EXPECT_EQ(w.RadioGroup_Tipo->itemIndex(), one ? 1 : 2);
    for (QWidget* c : std::initializer_list<QWidget*>{w.Edit_Usuario, w.Edit_Senha, w.Edit_CNPJ, w.RadioGroup_Tipo})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Registro);
    EXPECT_NE(QApplication::focusWidget(), w.Edit_Usuario);
    // The grid shows both, the current row selected and marked.
    EXPECT_EQ(w.DBGrid_Registros->model()->rowCount(), 2);
    EXPECT_EQ(w.DBGrid_Registros->currentIndex().row(), 0);
    EXPECT_EQ(w.DBGrid_Registros->model()->headerData(0, Qt::Vertical).toString(), QString(QChar(0x25B8)));
    EXPECT_EQ(w.DBGrid_Registros->model()->headerData(1, Qt::Vertical).toString(), "");
    EXPECT_EQ(w.DBGrid_Registros->model()->data(w.DBGrid_Registros->model()->index(0, 4)).toString(), "S");
}

TEST_F(MainWindowTest, UnreadableProfileIsNamedAfterTheOthersLoad)
{
    SaveProfile(*store, "11222333000181", "primeiro", "senha1", 0, "/dados/um/");
    {
        QSettings ini(QString::fromStdString(store->FilePath()), QSettings::IniFormat);
        ini.setValue("44555666000199/Usuario", QByteArray("x"));
        ini.sync();
    }
    TF_NFP& w = Open();
    QApplication::processEvents();
    EXPECT_EQ(w.Registros_Table().RecordCount(), 1);
    EXPECT_EQ(w.Edit_CNPJ->text(), "11222333000181");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("44555666000199")) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("Failed to get data for 'Tipo'")) << errors[0].toStdString();
}

TEST_F(MainWindowTest, SairClosesTheWindow)
{
    TF_NFP& w = Open();
    EXPECT_TRUE(w.isVisible());
    w.BitBtn_Sair->click();
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace nfp::test
