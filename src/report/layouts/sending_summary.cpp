#include "report/layouts/sending_summary.h"

#include "report/layouts/char_slice.h"
#include "util/silent_abort.h"
#include "util/text_codec.h"

namespace nfp {

namespace {

const std::string kTitulo = "Resumo do Envio das Notas Fiscais Paulista";

} // namespace

void ConfigureSendingSummaryEngine(TRelGrade& rel) {
    rel.TamanhoQteLinhas = 88;
    rel.TamanhoQteColunas = 96;
    rel.TamanhoQteLPP = TLinha::Oito;
    rel.FonteTamanhoPadrao = TSize::S12cpp;
    rel.FonteEstiloPadrao = TStyle{};
    rel.Orientacao = TPrinterOrientation::poPortrait;
    rel.Margens = TMargens{10, 10, 10, 10};
    rel.Acentuacao = TAcento::Transliterate;
    rel.Impressora = TModelo::Epson;
    rel.PortaComunicacao.clear();
    rel.UsaGerenciadorImpr = true;
    rel.MostrarProgresso = true;
    rel.NumerodeCopias = 1;
    rel.CaptionSetup = "Setup da Impressora...";
    rel.TitulodoRelatorio = kTitulo;
    rel.CorForm = clBtnFace;
    rel.CorFonte = clBlack;
    rel.OpcoesPreview.Preview = true;
    rel.OpcoesPreview.PaginaZebrada = true;
    rel.OpcoesPreview.Remalina = true;
    rel.OpcoesPreview.PreviewZoom = -1;
    rel.OpcoesPreview.CorPapelPreview = clWhite;
    rel.OpcoesPreview.CorLetraPreview = clBlack;
    rel.OpcoesPreview.BotaoSetup = TStatBut::Ativo;
    rel.OpcoesPreview.BotaoImprimir = TStatBut::Ativo;
    rel.OpcoesPreview.BotaoGravar = TStatBut::Ativo;
    rel.OpcoesPreview.BotaoLer = TStatBut::Ativo;
    rel.OpcoesPreview.BotaoProcurar = TStatBut::Ativo;
    rel.OpcoesPreview.CaptionPreview = kTitulo;
    rel.ImpressoraPersonalizada = TCustom{};
    rel.Mapeamento = DefaultMapeamento();
}

std::string SummaryIssueDate(const Date& today, const RegionalSettings& rs) {
    return FormatShortDate(today, rs) + ", " + rs.longDayNames[WeekdayIndex(today)];
}

std::vector<SummaryRow> SummaryRowsOf(const MemoryTable& results) {
    const int arquivo = results.FieldIndex("Arquivo");
    const int caminho = results.FieldIndex("Caminho");
    const int resultado = results.FieldIndex("Resultado");
    std::vector<SummaryRow> rows;
    rows.reserve(static_cast<std::size_t>(results.RecordCount()));
    for (int r = 0; r < results.RecordCount(); ++r)
        rows.push_back({results.TextAt(r, arquivo), results.TextAt(r, caminho), results.TextAt(r, resultado)});
    return rows;
}

void LayOutSendingSummary(TRelGrade& rel, const std::vector<SummaryRow>& rows, const std::string& issueDate) {
    if (rows.empty()) throw SilentAbort();
    const std::string dashes(95, '-');
    int page = 1;
    rel.Abrir();
    int line = 90; // the first row starts a page
    for (const auto& row : rows) {
        if (line > 85) {
            if (page > 1) rel.NovaPagina();
            rel.Imp(1, 1, dashes);
            rel.Imp(2, 1, "Resumo do Envio das Notas Fiscais Paulista, emiss\xC3\xA3o: " + issueDate);
            rel.Imp(2, 88, "Pag:");
            rel.ImpNum(2, 93, "##0", page, 0, clBlack);
            rel.Imp(3, 1, "Arquivo:      Caminho:");
            rel.Imp(4, 1, "              Resultado:");
            rel.Imp(5, 1, dashes);
            ++page;
            line = 6;
        }
        rel.Imp(line, 1, row.arquivo);
        rel.Imp(line, 15, row.caminho);
        for (std::size_t start = 0; start < 480; start += 80) {
            const std::string slice = CharSlice(row.resultado, start, 80);
            if (IsBlankText(slice)) continue;
            ++line;
            rel.Imp(line, 15, slice);
        }
        ++line;
    }
    rel.Imp(line, 1, dashes);
}

void PrintSendingSummary(TRelGrade& rel, const MemoryTable& results, const Date& today, const RegionalSettings& rs) {
    LayOutSendingSummary(rel, SummaryRowsOf(results), SummaryIssueDate(today, rs));
    rel.Fechar();
}

} // namespace nfp
