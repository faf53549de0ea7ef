#pragma once
// The journal entry of each exchange a sender makes, and posting that
// records a failed exchange before the failure goes on.
#include "journal/exchange_recorder.h"
#include "sending/send_run.h"
#include "sending/service_poster.h"
#include "service/service_credentials.h"

#include <string>
#include <string_view>

namespace nfp {

// A sending or rectification of `bytes`, the file as read.
JournalEntry SendingEntry(const SendChoice& choice, const ServiceCredentials& credentials, std::string_view arquivo,
                          std::string_view pasta, std::string_view bytes);

// A query of `protocolo`; a re-query names the results row's file.
JournalEntry QueryEntry(const ServiceCredentials& credentials, std::string_view protocolo,
                        std::string_view arquivo = {}, std::string_view pasta = {});

// Posts the request. A failure (transport, status) is recorded as "falha"
// with its message before it passes on; a silent abort is no exchange.
std::string PostRecorded(ServicePoster& poster, std::string_view request, const PostingDataHandler& progress,
                         ExchangeRecorder& journal, const JournalEntry& entry);

// Records the reply's result: `accepted` gives "aceito", otherwise
// "recusado". Returns once the row is committed.
void RecordResult(ExchangeRecorder& journal, JournalEntry entry, const std::string& result, bool accepted);

} // namespace nfp
