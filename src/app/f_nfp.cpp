#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/data_grid.h"
#include "app/date_edit.h"
#include "app/error_display.h"
#include "app/exit_line_edit.h"
#include "app/local_message_dlg.h"
#include "app/long_date.h"
#include "app/main_window_send_view.h"
#include "app/radio_group.h"
#include "app/status_bar.h"
#include "app/table_model.h"
#include "journal/journal_recorder.h"
#include "profiles/f_registro.h"
#include "sending/http_service_poster.h"
#include "sending/scheduler.h"
#include "service/http_poster.h"
#include "util/silent_abort.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_table.h"
#include "util/table_layouts.h"
#include "util/version_text.h"
#include "widgets/zeltra_browser.h"
#include "widgets/zeltra_hint.h"

#include <QCheckBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

namespace nfp {

namespace {

constexpr int kClientWidth = 778;
constexpr int kClientHeight = 391;

QString MonthText(const Date& today, const RegionalSettings& rs)
{
    return QStringLiteral("%1%2%3")
        .arg(static_cast<unsigned>(today.month()), 2, 10, QLatin1Char('0'))
        .arg(QString::fromStdString(rs.dateSeparator))
        .arg(static_cast<int>(today.year()), 4, 10, QLatin1Char('0'));
}

} // namespace

TF_NFP::TF_NFP(MainWindowSetup setup, QWidget* parent)
    // A normal top-level window, so it keeps its task-bar button (a dialog
    // would be made transient and left out of task lists), asking for a
    // title bar with system menu and close box only, in a fixed dialog frame.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      setup_(std::move(setup)),
      CDS_Enviar(SendQueueLayout()),
      CDS_Enviados(ResultsLayout()),
      CDS_Registros(ProfileTableLayout())
{
    setObjectName(QStringLiteral("F_NFP"));
    setWindowTitle(QStringLiteral("Software de Envio de arquivos da Nota Fiscal Paulista"));
    setFont(PixelFont("MS Sans Serif", 11));
    setFixedSize(kClientWidth, kClientHeight);

    ZeltraHint = new TZeltraHint(this);
    ZeltraHint->setObjectName(QStringLiteral("ZeltraHint"));
    ZeltraHint->SetFont(PixelFont("Tahoma", 11));
    ZeltraBrowser = new TZeltraBrowser(this);
    ZeltraBrowser->setObjectName(QStringLiteral("ZeltraBrowser"));
    ZeltraBrowser->Title = QStringLiteral("Localizar pastas com arquivos da NFP...");
    ZeltraBrowser->Caption = QStringLiteral("Localizar Pastas...");

    HTTPReqResp = std::make_unique<THttpPoster>(setup_.service);
    poster_ = std::make_unique<HttpServicePoster>(*HTTPReqResp);
    sendView_ = std::make_unique<MainWindowSendView>(*this);
    journal_ = std::make_unique<JournalRecorder>(setup_.journalFile, [this](const std::string& message) {
        journalWarning_ = message;
        // Shown once nothing works any more; during a run AfterBusy posts it.
        QTimer::singleShot(0, this, [this] { ShowJournalWarning(); });
    });
    previousTick_ = setup_.clock();
    CreateReportParts();

    // A window of its own, like the main window, not one of its controls.
    F_Registro_ = std::make_unique<TF_Registro>(CDS_Registros, *setup_.store, nullptr);
    F_Registro = F_Registro_.get();
    F_Registro->setObjectName(QStringLiteral("F_Registro"));

    BuildSkeleton();
    BuildLoginPanel();
    BuildAgendaPanel();
    BuildEnviarTab();
    BuildResultadoTab();
    BuildConsultarTab();
    BuildCalcularTab();
    BuildRegistroTab();
    SetTabOrders();
    ConnectHandlers();

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, [this] { Guarded([this] { TimerTimer(); }); });
    Timer->start();
}

TF_NFP::~TF_NFP()
{
    // The controls outlive this part of the window while QWidget takes them
    // down; a focus change then must not reach the handlers here.
    Timer->stop();
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void TF_NFP::Guarded(const std::function<void()>& handler)
{
    RunGuarded(handler);
}

void TF_NFP::BuildSkeleton()
{
    GroupBox_Login = Placed(new QGroupBox(QStringLiteral("Informações p/ Login:"), this), "GroupBox_Login",
                            {7, 0, 141, 218});
    GroupBox_Agenda = Placed(new QGroupBox(QStringLiteral("Agendamento de Envio:"), this), "GroupBox_Agenda",
                             {7, 217, 141, 113});

    PageControl = Placed(new QTabWidget(this), "PageControl", {153, 7, 618, 358});
    PageControl->setUsesScrollButtons(false);
    const char* names[] = {"TabSheet_Enviar", "TabSheet_Resultado", "TabSheet_Consultar", "TabSheet_Calcular",
                           "TabSheet_Registro"};
    const char* captions[] = {"Enviar", "Resultado", "Consultar", "Calcular", "Registro(s)"};
    QWidget** sheets[] = {&TabSheet_Enviar, &TabSheet_Resultado, &TabSheet_Consultar, &TabSheet_Calcular,
                          &TabSheet_Registro};
    for (int i = 0; i < 5; ++i) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(names[i]));
        PageControl->addTab(sheet, QString::fromLatin1(captions[i]));
        *sheets[i] = sheet;
    }
    PageControl->setCurrentWidget(TabSheet_Registro);

    Memo_Enviar = Placed(new QPlainTextEdit(this), "Memo_Enviar", {154, 7, 624, 365});
    Memo_Enviar->setReadOnly(true);
    Memo_Enviar->setFocusPolicy(Qt::NoFocus);
    Memo_Enviar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_Enviar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_Enviar->hide();

    BitBtn_Sair = MakeBitBtn(this, "BitBtn_Sair", QStringLiteral("Sair"),
                             style()->standardIcon(QStyle::SP_DialogCloseButton), {35, 340, 85, 25});

    StatusBar = Placed(new nfp::StatusBar({{100, Qt::AlignLeft},
                                          {250, Qt::AlignHCenter},
                                          {70, Qt::AlignHCenter},
                                          {50, Qt::AlignLeft}},
                                         this),
                       "StatusBar", {0, 372, kClientWidth, 19});
}

void TF_NFP::BuildLoginPanel()
{
    QGroupBox* g = GroupBox_Login;
    Label_Usuario = MakeLabel(g, "Label_Usuario", QStringLiteral("Usuário:"), {7, 16, 39, 13});
    Edit_Usuario = Placed(new QLineEdit(g), "Edit_Usuario", {7, 28, 127, 22});
    Edit_Usuario->setFont(PixelFont("MS Sans Serif", 13));
    Label_Senha = MakeLabel(g, "Label_Senha", QStringLiteral("Senha:"), {7, 51, 34, 13});
    Edit_Senha = Placed(new QLineEdit(g), "Edit_Senha", {7, 63, 127, 22});
    Edit_Senha->setFont(PixelFont("Verdana", 13));
    Edit_Senha->setEchoMode(QLineEdit::Password);
    Edit_Senha->setStyleSheet(QStringLiteral("lineedit-password-character: 35;"));
    Label_CNPJ = MakeLabel(g, "Label_CNPJ", QStringLiteral("C.N.P.J.:"), {7, 86, 42, 13});
    Edit_CNPJ = Placed(new QLineEdit(g), "Edit_CNPJ", {7, 98, 127, 22});
    Edit_CNPJ->setFont(PixelFont("Verdana", 13));
    Edit_CNPJ->setMaxLength(14);
    RadioGroup_Tipo = Placed(new RadioGroup(QStringLiteral("Tipo:"),
                                            {QStringLiteral("Contribuinte"), QStringLiteral("Contabilistas"),
                                             QStringLiteral("Consumidores")},
                                            g),
                             "RadioGroup_Tipo", {7, 126, 127, 85});
    RadioGroup_Tipo->setItemIndex(2);
}

void TF_NFP::BuildAgendaPanel()
{
    QGroupBox* g = GroupBox_Agenda;
    const RegionalSettings& rs = setup_.regional;
    Label_Data_Agenda = MakeLabel(g, "Label_Data_Agenda", QStringLiteral("Data para Envio:"), {7, 16, 80, 13});
    DateEdit_Agenda = Placed(new nfp::DateEdit(rs, [this] { return setup_.clock().date; }, g), "DateEdit_Agenda",
                             {7, 28, 106, 22});
    DateEdit_Agenda->setFont(PixelFont("Verdana", 13));
    DateEdit_Agenda->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: black; }"));
    Label_Hora_Agenda = MakeLabel(g, "Label_Hora_Agenda", QStringLiteral("Hora para Envio:"), {7, 51, 80, 13});
    MaskEdit_Agenda = Placed(new ExitLineEdit(g), "MaskEdit_Agenda", {7, 63, 78, 22});
    MaskEdit_Agenda->setFont(PixelFont("Verdana", 13));
    // First hour digit optional, the other five required, "_" for a blank.
    QString sep = QString::fromStdString(rs.timeSeparator).left(1);
    if (sep.isEmpty())
        sep = QStringLiteral(":");
    MaskEdit_Agenda->setRefuseIncomplete(true);
    MaskEdit_Agenda->setInputMask(QStringLiteral("09") + sep + QStringLiteral("99") + sep + QStringLiteral("99;_"));
    CheckBox_Agenda = Placed(new QCheckBox(QStringLiteral("Ativar Agendamento ?"), g), "CheckBox_Agenda",
                             {7, 91, 127, 17});
}

void TF_NFP::SetTabOrders()
{
    QList<QWidget*> chain{Edit_Usuario, Edit_Senha, Edit_CNPJ};
    for (int i = 0; i < RadioGroup_Tipo->count(); ++i)
        chain << RadioGroup_Tipo->item(i);
    chain << DateEdit_Agenda << MaskEdit_Agenda << CheckBox_Agenda << PageControl;
    // Each tab in its own order; Qt skips the controls of hidden tabs.
    chain << MaskEdit_Data << BitBtn_Arquivos << BitBtn_Pasta << ComboBox_Envio << ComboBox_Retificacao
          << BitBtn_Enviar;
    chain << BitBtn_Reconsultar << BitBtn_Historico << BitBtn_Imprimir;
    chain << Edit_Protocolo << Memo << BitBtn_Consultar;
    chain << DateEdit << Edit_Sigla;
    chain << BitBtn_Registro;
    chain << BitBtn_Sair;
    for (int i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void TF_NFP::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (const QScreen* screen = this->screen()) {
        const QRect s = screen->geometry();
        move(s.x() + s.width() / 2 - width() / 2, s.y() + s.height() / 2 - height() / 2);
    }
    Guarded([this] { FormShow(); });
}

void TF_NFP::FormShow()
{
    const LocalMoment now = setup_.clock();
    const RegionalSettings& rs = setup_.regional;
    StatusBar->setPanelText(0, QStringLiteral("Versão: %1 ").arg(QString::fromStdString(GetVersionText())));
    StatusBar->setPanelText(1, QString::fromStdString(FormatLongDate(now.date, rs)));
    CDS_Registros.EmptyTable();
    CDS_Enviar.EmptyTable();
    CDS_Enviados.EmptyTable();
    Edit_Usuario->clear();
    Edit_Senha->clear();
    Edit_CNPJ->clear();
    DateEdit_Agenda->setDate(now.date);
    // Set, not edited: clear() would count as the user's change.
    MaskEdit_Agenda->setText(QString());
    CheckBox_Agenda->setChecked(false);
    MaskEdit_Data->setText(MonthText(now.date, rs));
    // A masked field keeps room for its block cursor: show the text from its start.
    MaskEdit_Data->setCursorPosition(0);
    Label_Status->setText(QStringLiteral("Status..."));
    Edit_Protocolo->clear();
    DateEdit->setDate(now.date);
    DateEditExit();
    LoadStoredProfiles();
    CDS_Registros.First();
    if (CDS_Registros.RecordCount() == 0)
        Edit_Usuario->setFocus(Qt::OtherFocusReason);
}

void TF_NFP::TimerTimer()
{
    const LocalMoment now = setup_.clock();
    const auto time = std::chrono::hh_mm_ss<std::chrono::seconds>(now.timeOfDay);
    StatusBar->setPanelText(2, QString::fromStdString(FormatTime(time, setup_.regional)));
    const LocalMoment previous = previousTick_;
    previousTick_ = now;
    if (!CheckBox_Agenda->isChecked())
        return;
    const auto scheduled = ScheduledMoment();
    if (!scheduled || !ScheduleFallsDue(previous, now, *scheduled))
        return;
    // Due while another operation works: it starts when that one ends.
    if (IsBusy()) {
        pendingSchedule_ = scheduled;
        return;
    }
    RunScheduledSend();
}

std::optional<LocalMoment> TF_NFP::ScheduledMoment() const
{
    const auto time = ParseTimeOfDay(MaskedFieldText(MaskEdit_Agenda).toStdString(), setup_.regional.timeSeparator);
    if (!time)
        return std::nullopt;
    return LocalMoment{DateEdit_Agenda->date(), *time};
}

void TF_NFP::MaskEdit_AgendaExit()
{
    if (ParseTimeOfDay(MaskedFieldText(MaskEdit_Agenda).toStdString(), setup_.regional.timeSeparator))
        return;
    LocalMessageDlg("Hora Inválida...", MessageKind::Warning, MsgButton::OK, MsgResult::Ok, 0);
    // Set, not edited: clear() would count as the user's change.
    MaskEdit_Agenda->setText(QString());
}

void TF_NFP::BitBtn_SairClick()
{
    close();
}

void TF_NFP::ConnectHandlers()
{
    connect(BitBtn_Sair, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_SairClick(); }); });
    connect(MaskEdit_Agenda, &ExitLineEdit::exited, this, [this] { Guarded([this] { MaskEdit_AgendaExit(); }); });
    // Unticking drops a start that waits for an operation to end.
    connect(CheckBox_Agenda, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            pendingSchedule_.reset();
    });
    connect(DateEdit, &ExitLineEdit::exited, this, [this] { Guarded([this] { DateEditExit(); }); });
    connect(Edit_Sigla, &ExitLineEdit::exited, this, [this] { Guarded([this] { Edit_SiglaExit(); }); });
}

void TF_NFP::LoadStoredProfiles()
{
    const auto failures = LoadProfiles(*setup_.store, CDS_Registros);
    if (failures.empty())
        return;
    // Every readable profile is listed; the unreadable ones are named once
    // the start-up is through.
    QStringList lines;
    for (const auto& f : failures)
        lines << QString::fromStdString(ProfileLoadFailureText(f));
    QTimer::singleShot(0, this, [lines] { ShowUncaughtError(lines.join(QLatin1Char('\n'))); });
}

void TF_NFP::closeEvent(QCloseEvent* event)
{
    // A long operation runs to its end; the window closes after it.
    if (IsBusy()) {
        closePending_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace nfp
