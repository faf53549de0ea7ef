#include "sending/send_run.h"

#include "sending/exchange_entry.h"
#include "sending/receipt_file.h"
#include "sending/send_queue.h"
#include "service/file_content.h"
#include "service/reply_extraction.h"
#include "service/service_envelope.h"
#include "util/silent_abort.h"
#include "util/text_codec.h"

namespace nfp {

namespace {

constexpr int kYes = 6;
constexpr std::size_t kLargestPiece = 32768;

} // namespace

std::string UnexpectedReplyQuestion(std::string_view result)
{
    std::string q = "O Retorno do envio não foi o esperado:\r\r";
    q += result;
    q += "\r\rDeseja interromper o envio ?";
    return q;
}

std::string DecodedResultText(std::string_view result)
{
    return Utf8OrWindows1252ToUtf8(result);
}

void Enviar(MemoryTable& queue, MemoryTable& results, SendRunView& view, ServicePoster& poster,
            const RegionalSettings& regional, ExchangeRecorder& journal, RefusedFiles* refused)
{
    RefusedFiles refusedHere;
    RefusedFiles& leftQueued = refused ? *refused : refusedHere;
    // The first queued file not refused; false when there is none.
    const auto firstPending = [&] {
        for (queue.First(); !queue.Eof(); queue.Next()) {
            if (!leftQueued.contains(queue.FieldText("Caminho") + queue.FieldText("Arquivo")))
                return true;
        }
        return false;
    };
    const BusyCursor busy(view);
    view.ProcessMessages();
    // Always the first pending row: each handled row is deleted below.
    while (firstPending()) {
        const std::string arquivo = queue.FieldText("Arquivo");
        const std::string caminho = queue.FieldText("Caminho");
        std::string bytes = ReadReceiptFile(caminho + arquivo);
        view.SetStatus("Analisando...");
        view.ProcessMessages();

        if (const auto control = FindForbiddenControl(bytes)) {
            const std::string message = ForbiddenControlText(arquivo, *control);
            RecordResult(journal, SendingEntry(view.Choice(), view.Credentials(), arquivo, caminho, bytes), message,
                         false);
            leftQueued.insert(caminho + arquivo);
            view.TellFileRefused(message);
            continue;
        }

        // The file is prepared and escaped in the one pass that writes the
        // request; the bar still steps through the four replacements.
        view.SetProgress(4, 1);
        view.SetProgress(4, 2);
        view.SetProgress(4, 3);
        view.SetProgress(4, 4);
        view.SetStatus("Enviando...");
        view.ProcessMessages();

        // Choice and credentials as the window shows them now, after the
        // pending events have had their turn.
        const SendChoice choice = view.Choice();
        const ServiceCredentials credentials = view.Credentials();
        ServiceFields fields;
        fields.NomeArquivo = arquivo;
        fields.EnvioNormal = choice.envioNormal;
        JournalEntry entry = SendingEntry(choice, credentials, arquivo, caminho, bytes);
        const std::string request = BuildServiceEnvelopeFromFile(choice.operation, credentials, fields, bytes);
        bytes.clear();
        bytes.shrink_to_fit();

        PostingDataHandler progress;
        if (request.size() > kLargestPiece)
            progress = [&view](std::int64_t sent, std::int64_t total) { view.SetProgress(total, sent); };
        const std::string reply = PostRecorded(poster, request, progress, journal, entry);

        const std::string result = DecodedResultText(ExtractOperationResult(reply, choice.operation));
        const bool accepted = IsAcceptedResult(result, regional, view.CurrentYear());
        const std::string protocolo = accepted ? ProtocolNumber(result) : std::string();
        // The proof of delivery is on disk before anything acts on it.
        entry.protocolo = protocolo;
        RecordResult(journal, std::move(entry), result, accepted);
        if (accepted) {
            results.Append();
            results.SetField("Arquivo", arquivo);
            results.SetField("Caminho", caminho);
            results.SetField("Protocolo", protocolo);
            results.SetField("Resultado", result);
            results.SetField("CNPJ", credentials.CNPJ);
            results.Post();
        } else if (view.AskAfterUnexpectedReply(UnexpectedReplyQuestion(result)) == kYes) {
            throw SilentAbort();
        }
        if (firstPending()) queue.Delete();
    }
    results.First();
    view.ProcessMessages();
}

} // namespace nfp
