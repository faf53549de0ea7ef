#pragma once
// TRelGrade: reports written as texts placed on a character grid, page by
// page, kept in a page store until Fechar previews or prints them.
//
//   Abrir();  Imp(line, column, text) ...;  NovaPagina(); ...;  Fechar();
//
// Printing goes through the model's route: graphic pages for Grafico, raw
// bytes with the model's control sequences for the text models (through
// the spooler, or straight to PortaComunicacao). The platform parts
// (printers, message boxes, the windows) come in through `services`.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/engine/control_sequences.h"
#include "report/engine/number_mask.h"
#include "report/engine/page_item.h"
#include "report/engine/printer_mapping.h"
#include "report/engine/report_services.h"
#include "report/engine/report_state.h"
#include "report/engine/report_types.h"

namespace nfp {

class TRelGrade {
public:
    TRelGrade() = default;
    TRelGrade(const TRelGrade&) = delete;
    TRelGrade& operator=(const TRelGrade&) = delete;
    // A report this component left open is given up with it.
    ~TRelGrade();

    // Properties, with the values a new component starts with.
    TModelo Impressora = TModelo::Epson;
    std::string PortaComunicacao;
    bool UsaGerenciadorImpr = true;
    std::vector<std::string> Mapeamento = DefaultMapeamento();
    TCustom ImpressoraPersonalizada;
    TAcento Acentuacao = TAcento::Transliterate;
    int TamanhoQteLinhas = 66;
    int TamanhoQteColunas = 80;
    TLinha TamanhoQteLPP = TLinha::Seis;
    TSize FonteTamanhoPadrao = TSize::S10cpp;
    TStyle FonteEstiloPadrao;
    TPrinterOrientation Orientacao = TPrinterOrientation::poPortrait;
    TMargens Margens;
    int NumerodeCopias = 1;
    bool MostrarProgresso = true;
    std::string TitulodoRelatorio = "Gerado por RelGrade";
    std::string CaptionSetup = "RelGrade Setup";
    TColor CorForm = clBtnFace;
    TColor CorFonte = clBlack;
    TPreviewOptions OpcoesPreview;
    // Separators ImpNum and &PAGE& write numbers with.
    NumberSeparators Separadores;
    // A PDF file the graphic route prints into instead of a printer: Qt's PDF
    // printer chosen in the printer properties of the setup dialog. Empty:
    // the current printer.
    std::string ArquivoGrafico;

    // Events.
    std::function<void(TRelGrade&, const std::string& mensagem)> OnErro;
    std::function<void(TRelGrade&, int pagina)> OnNewPage;
    std::function<void(TRelGrade&, int pagina)> OnBeforeNewPage;
    std::function<void(TRelGrade&, bool& continuar)> OnBeforePrint;
    std::function<void(TRelGrade&)> OnAfterPrint;
    std::function<void(TRelGrade&)> OnCancel;
    std::function<void(TRelGrade&, std::string& arquivoLocal)> OnSave;
    std::function<void(TRelGrade&, std::string& arquivoLocal)> OnLoad;
    std::function<void(TRelGrade&)> OnPreview;

    ReportServices services;

    // Writing a report.
    bool Abrir();
    bool Imp(int linha, int coluna, std::string_view texto, TColor cor = clBlack);
    // fonte: bit 0 bold, 1 italic, 2 underline, bits 3..7 the size
    // (S05cpp ... S20cpp); 0 is the default font.
    bool ImpF(int linha, int coluna, std::string_view texto, std::uint8_t fonte, TColor cor = clBlack);
    bool ImpNum(int linha, int coluna, std::string_view mascara, double valor, std::uint8_t fonte = 0,
                TColor cor = clBlack);
    int NovaPagina();
    bool Fechar();
    bool Abortar();
    bool Setup();
    int TotalPaginas() const;

    // Printer models.
    void PreparaImpressora(TModelo modelo, int linhas, TLinha espacamento);
    void DetectaModelo(std::string_view nomeImpressora);

    // Prints the open report on the route of Impressora; with a file name
    // the job's bytes go into that file instead (printer data). A job to a
    // printer when none is installed only says so (kMsgSemImpressora).
    void ImprimirRelatorio(const std::optional<std::string>& arquivo = std::nullopt);

    // True when printing now needs one of the platform's printers (the
    // graphic route without ArquivoGrafico, or the spooler) and the platform
    // has none at all.
    bool NoPrinterInstalled();

    // --- For the engine's windows (preview, progress, page picture). ---

    // The progress window's Cancel, once confirmed.
    void Cancelar();
    bool CancelRequested() const;
    void ClearCancel();
    // Lets pending window messages through; then, if a cancel is pending,
    // fires OnCancel and returns true.
    bool CheckCancel();
    void ProcessEvents();

    bool IsOpen() const;
    bool IsAbandoned() const;
    bool PreviewActive() const;
    int CurrentPage() const;
    void SetCurrentPage(int page);
    const ReportState& State() const;
    ReportState& MutableState();
    const PageStore* Store() const;

    // A stored item read back for drawing or printing, macros expanded.
    // An item that does not read back is reported as error 10.
    std::optional<PageItem> ReadBack(const std::string& stored);
    std::string ExpandMacros(std::string_view text) const;

    // The numbered errors: to OnErro, otherwise a message box (errors 9
    // and 10 are silent without a handler).
    void Erro(int numero, const std::string& mensagem);
    void ShowMessage(const std::string& text);

    // The page-open flag: saving a report first closes the page.
    bool PageOpen() const { return pageOpen_; }
    void ClosePendingPage();

private:
    bool OwnsReport() const;
    // False when the job did not start.
    bool PrintTextJob(TextJobRoute& route, bool spooler, const std::optional<std::string>& arquivo);
    bool PrintGraphicJob();
    // Walks pages and copies as the setup chose; `printPage` prints one copy.
    void RunPages(const std::optional<std::string>& arquivo, const std::function<bool(int page)>& printPage);

    bool pageOpen_ = false;
};

// Message texts.
inline constexpr const char* kMsgSemImpressora = "Nenhuma impressora instalada.";
// How a PDF file stands in the printer list and the preview's status bar.
inline constexpr const char* kArquivoPdf = "Arquivo PDF: ";
inline constexpr const char* kErroPosicao = "RELGRADE: Posi\xC3\xA7\xC3\xA3o de Impress\xC3\xA3o inv\xC3\xA1lida, Linha/Coluna devem ser > 0";

} // namespace nfp
