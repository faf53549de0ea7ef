#pragma once
// The main window: the login panel and the scheduler on the left, the five
// tabs, the Sair button and the status bar. It owns the three in-memory
// tables and every component the features use.
#include "journal/journal_location.h"
#include "profiles/ini_profile_store.h"
#include "profiles/profile_store.h"
#include "sending/local_moment.h"
#include "service/http_poster_settings.h"
#include "service/service_credentials.h"
#include "util/memory_table.h"
#include "util/regional_settings.h"

#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace nfp {

class DataGrid;
class DateEdit;
class ExitLineEdit;
class RadioGroup;
class StatusBar;
class TableModel;
class TF_Registro;
class THttpPoster;
class HttpServicePoster;
class MainWindowSendView;
class TRelGrade;
struct ReportParts;
struct ReportPartsDeleter {
    void operator()(ReportParts* parts) const;
};
class TZeltraBrowser;
class TZeltraHint;
class JournalRecorder;

// What the window takes from its surroundings; tests hand in their own.
struct MainWindowSetup {
    RegionalSettings regional = RegionalSettings::FromEnvironment();
    LocalClock clock = SystemLocalNow;
    std::shared_ptr<ProfileStore> store = std::make_shared<IniProfileStore>(IniProfileStore::DefaultFilePath());
    HttpPosterSettings service = ServiceSettingsFromEnvironment();
    std::filesystem::path journalFile = DefaultJournalFile();
};

class TF_NFP : public QWidget {
    Q_OBJECT
public:
    explicit TF_NFP(MainWindowSetup setup = {}, QWidget* parent = nullptr);
    ~TF_NFP() override;

    // The start-up sequence; runs once, the first time the window is shown.
    void FormShow();
    void TimerTimer();
    void BitBtn_SairClick();
    void DateEditExit();
    void Edit_SiglaExit();

    // The Enviar tab and the send run.
    void BitBtn_ArquivosClick();
    void BitBtn_PastaClick();
    bool DBGrid_EnviarKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void BitBtn_EnviarClick();
    void Enviar();
    // Queries.
    void BitBtn_ConsultarClick();
    void BitBtn_ReconsultarClick();
    void BitBtn_HistoricoClick();
    void BitBtn_ImprimirClick();
    // The scheduler.
    void MaskEdit_AgendaExit();

    // The credentials every request carries: the login panel as it is now.
    ServiceCredentials LoginCredentials() const;

    // The profile list and the login panel.
    void DS_RegistrosDataChange();
    void DBGrid_RegistrosDblClick();
    bool DBGrid_RegistrosKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void BitBtn_RegistroClick();
    // Enter and "Editar...": the current profile in the profile dialog.
    void EditarRegistro();
    // Delete and "Excluir": the current profile removed after a question.
    void ExcluirRegistro();
    // "Importar perfis...": profiles from a registry export.
    void ImportarRegistros();
    // Before the grid's context menu shows: what applies to the list as it is.
    void PopupMenu_RegistrosPopup();

    // True while a send run, batch or re-query is working.
    bool IsBusy() const { return busyDepth_ > 0; }
    // The window was told to close while an operation worked.
    bool IsClosePending() const { return closePending_; }

    MemoryTable& Enviar_Table() { return CDS_Enviar; }
    MemoryTable& Enviados_Table() { return CDS_Enviados; }
    MemoryTable& Registros_Table() { return CDS_Registros; }
    const MainWindowSetup& Setup() const { return setup_; }

    // Controls, by the names the rest of the program knows them by.
    QGroupBox* GroupBox_Login = nullptr;
    QLabel* Label_Usuario = nullptr;
    QLineEdit* Edit_Usuario = nullptr;
    QLabel* Label_Senha = nullptr;
    QLineEdit* Edit_Senha = nullptr;
    QLabel* Label_CNPJ = nullptr;
    QLineEdit* Edit_CNPJ = nullptr;
    RadioGroup* RadioGroup_Tipo = nullptr;

    QGroupBox* GroupBox_Agenda = nullptr;
    QLabel* Label_Data_Agenda = nullptr;
    nfp::DateEdit* DateEdit_Agenda = nullptr;
    QLabel* Label_Hora_Agenda = nullptr;
    ExitLineEdit* MaskEdit_Agenda = nullptr;
    QCheckBox* CheckBox_Agenda = nullptr;

    QTabWidget* PageControl = nullptr;
    QWidget* TabSheet_Enviar = nullptr;
    QWidget* TabSheet_Resultado = nullptr;
    QWidget* TabSheet_Consultar = nullptr;
    QWidget* TabSheet_Calcular = nullptr;
    QWidget* TabSheet_Registro = nullptr;

    QLabel* Label_Periodo = nullptr;
    QLineEdit* MaskEdit_Data = nullptr;
    QPushButton* BitBtn_Arquivos = nullptr;
    QPushButton* BitBtn_Pasta = nullptr;
    QLabel* Label_Processamento = nullptr;
    QComboBox* ComboBox_Envio = nullptr;
    QLabel* Label_Retificacao = nullptr;
    QComboBox* ComboBox_Retificacao = nullptr;
    QPushButton* BitBtn_Enviar = nullptr;
    DataGrid* DBGrid_Enviar = nullptr;
    QLabel* Label_Status = nullptr;
    QProgressBar* ProgressBar = nullptr;

    DataGrid* DBGrid1 = nullptr;
    QPlainTextEdit* DBMemo_Resultado = nullptr;
    QPushButton* BitBtn_Reconsultar = nullptr;
    QPushButton* BitBtn_Historico = nullptr;
    QPushButton* BitBtn_Imprimir = nullptr;

    QLabel* Label_Protocolo = nullptr;
    QLabel* Label_Resposta = nullptr;
    QLineEdit* Edit_Protocolo = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QPushButton* BitBtn_Consultar = nullptr;

    QLabel* Label_Data = nullptr;
    nfp::DateEdit* DateEdit = nullptr;
    QLabel* Label_Extensao = nullptr;
    ExitLineEdit* Edit_Sigla = nullptr;

    QPushButton* BitBtn_Registro = nullptr;
    QLabel* Label_Del = nullptr;
    QLabel* Label1 = nullptr;
    DataGrid* DBGrid_Registros = nullptr;
    QMenu* PopupMenu_Registros = nullptr;
    QAction* MenuItem_Editar = nullptr;
    QAction* MenuItem_Marcar = nullptr;
    QAction* MenuItem_Excluir = nullptr;
    QAction* MenuItem_Importar = nullptr;

    QPlainTextEdit* Memo_Enviar = nullptr;
    QPushButton* BitBtn_Sair = nullptr;
    nfp::StatusBar* StatusBar = nullptr;

    QTimer* Timer = nullptr;
    TZeltraHint* ZeltraHint = nullptr;
    TZeltraBrowser* ZeltraBrowser = nullptr;
    TF_Registro* F_Registro = nullptr;
    TRelGrade* RelGrade = nullptr;

    TableModel* DS_Enviar = nullptr;
    TableModel* DS_Enviados = nullptr;
    TableModel* DS_Registros = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Marks a send run, batch or re-query, or a question whose answer acts
    // on the queue or the current profile: the controls that would change
    // them are off meanwhile, and a schedule falling due waits.
    class BusyScope {
    public:
        explicit BusyScope(TF_NFP& window);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        TF_NFP& window_;
    };
    friend class MainWindowSendView;

    void SetBusyControls(bool busy);
    void AfterBusy();
    // What the Enviar button and the scheduler start: the queue if it holds
    // files, otherwise the batch over the marked profiles.
    void SendQueuedOrBatch();
    void RunScheduledSend();
    // The scheduled moment the fields name now, when they name one.
    std::optional<LocalMoment> ScheduledMoment() const;
    void StartPendingSchedule();
    // A journal that could not be written is told once, when no operation
    // works any more.
    void ShowJournalWarning();

    void BuildSkeleton();
    void BuildLoginPanel();
    void BuildAgendaPanel();
    void BuildEnviarTab();
    void BuildResultadoTab();
    void BuildConsultarTab();
    void BuildCalcularTab();
    void BuildRegistroTab();
    void SetTabOrders();
    void ConnectHandlers();
    void LoadStoredProfiles();
    void CreateReportParts();

    // Runs a handler through the error display.
    void Guarded(const std::function<void()>& handler);

    MainWindowSetup setup_;
    MemoryTable CDS_Enviar;
    MemoryTable CDS_Enviados;
    MemoryTable CDS_Registros;
    // The grids' models watch the tables, so they go first.
    std::unique_ptr<TableModel> enviarModel_;
    std::unique_ptr<TableModel> enviadosModel_;
    std::unique_ptr<TableModel> registrosModel_;
    std::unique_ptr<TF_Registro> F_Registro_;
    bool shown_ = false;
    int busyDepth_ = 0;
    bool closePending_ = false;
    // A schedule that fell due while an operation worked, for the moment
    // the fields named then.
    std::optional<LocalMoment> pendingSchedule_;
    // The batch over the marked profiles ran in the current busy stretch.
    bool batchRan_ = false;
    bool scheduleServed_ = false;
    std::optional<std::string> journalWarning_;
    // The control that had the focus when busy turned it off.
    QPointer<QWidget> focusBeforeBusy_;
    LocalMoment previousTick_;
    std::unique_ptr<THttpPoster> HTTPReqResp;
    std::unique_ptr<HttpServicePoster> poster_;
    // Queued files refused for their bytes during the send in progress.
    std::set<std::string> refusedFiles_;
    std::unique_ptr<MainWindowSendView> sendView_;
    std::unique_ptr<JournalRecorder> journal_;
    // RelGrade with the platform parts it prints and previews through.
    std::unique_ptr<ReportParts, ReportPartsDeleter> report_;
};

} // namespace nfp
