#pragma once
// The send run: every queued file, in the queue's order, read, prepared,
// posted with the credentials the login panel shows at that moment, and
// recorded in the results table when the service accepts it.
#include "journal/exchange_recorder.h"
#include "sending/service_poster.h"
#include "service/service_credentials.h"
#include "service/service_operation.h"
#include "util/memory_table.h"
#include "util/regional_settings.h"

#include <set>
#include <string>
#include <string_view>

namespace nfp {

// How the next request is to be built, read from the Enviar tab.
struct SendChoice {
    ServiceOperation operation = ServiceOperation::Enviar; // or Retificar
    bool envioNormal = false;
};

// What a query reads from and shows on the window.
class QueryView {
public:
    virtual ~QueryView() = default;
    virtual ServiceCredentials Credentials() = 0; // the login panel, now
    virtual void SetBusyCursor(bool busy) = 0;
    // Lets the window repaint and the clock tick.
    virtual void ProcessMessages() = 0;
};

// Restores the normal cursor however the operation ends.
class BusyCursor {
public:
    explicit BusyCursor(QueryView& view) : view_(view) { view_.SetBusyCursor(true); }
    ~BusyCursor() { view_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    QueryView& view_;
};

// What the send run reads from and shows on the window.
class SendRunView : public QueryView {
public:
    virtual SendChoice Choice() = 0; // the two drop-down lists, now
    virtual void SetStatus(std::string_view text) = 0;
    virtual void SetProgress(long long maximum, long long position) = 0;
    // The question after an unexpected reply; the dialog's modal result.
    virtual int AskAfterUnexpectedReply(const std::string& question) = 0;
    // A file not sent for a byte the service does not accept; the run goes
    // on. Nothing to show by default.
    virtual void TellFileRefused(const std::string& /*message*/) {}
    virtual int CurrentYear() = 0;
};

// "O Retorno do envio não foi o esperado:" CR CR result CR CR
// "Deseja interromper o envio ?"
std::string UnexpectedReplyQuestion(std::string_view result);

// A result text as the program shows and keeps it: UTF-8 when it is valid
// UTF-8, otherwise read as Windows-1252.
std::string DecodedResultText(std::string_view result);

// Files (Caminho + Arquivo) refused for their bytes, left queued.
using RefusedFiles = std::set<std::string>;

// Sends the queue. Ends normally with the queue empty but for the refused
// files and the results at their first row; a Yes to the question ends it
// with SilentAbort and a file or transport error with that error, the
// current file and those after it still queued. The busy cursor is
// restored however it ends. Every exchange is in the journal before the run
// acts on its reply; a results row keeps the CNPJ it was sent for.
// A file holding a byte the service does not accept (FindForbiddenControl)
// is not sent: it is journaled as refused with ForbiddenControlText, told
// to the view, left queued and added to `refused`, and the run goes on as
// after "Não". Queued files already in `refused` (refused earlier in the
// same batch) are left alone.
void Enviar(MemoryTable& queue, MemoryTable& results, SendRunView& view, ServicePoster& poster,
            const RegionalSettings& regional, ExchangeRecorder& journal, RefusedFiles* refused = nullptr);

} // namespace nfp
