// The program's own send path against a bare libcurl client, both posting
// the same 200 receipt files of 20 KB to the local service over loopback
// TLS in the same run:
//   - program: the send run with the real libcurl poster, a view that draws
//     nothing and no journal (reading, preparing and building each request,
//     posting it, reading the result);
//   - bare: a minimal libcurl loop, a fresh handle and connection for every
//     request, the same headers and bodies (built beforehand).
// Prints both times and their ratio; target: ratio <= 1.15. Each side runs
// three rounds, alternating, and its best round counts. Run by hand:
//   build/benchmarks/sending/bench_send_path [FILES]
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "bare_send_loop.h"
#include "local_service.h"
#include "sending/http_service_poster.h"
#include "sending/send_queue.h"
#include "sending/send_run.h"
#include "service/http_poster.h"
#include "util/table_layouts.h"

namespace {

using namespace nfp::bench;

class QuietView : public nfp::SendRunView {
public:
    nfp::ServiceCredentials Credentials() override { return kDemoCredentials; }
    void SetBusyCursor(bool) override {}
    void ProcessMessages() override {}
    nfp::SendChoice Choice() override { return {nfp::ServiceOperation::Enviar, true}; }
    void SetStatus(std::string_view) override {}
    void SetProgress(long long, long long) override {}
    int AskAfterUnexpectedReply(const std::string& question) override {
        throw std::runtime_error("unexpected reply: " + question);
    }
    int CurrentYear() override { return 2026; }
};

Clock::duration ProgramRound(const ReceiptFolder& folder, const nfp::HttpPosterSettings& settings) {
    QuietView view;
    nfp::THttpPoster http(settings);
    nfp::HttpServicePoster poster(http);
    nfp::MemoryTable queue(nfp::SendQueueLayout());
    nfp::MemoryTable results(nfp::ResultsLayout());
    nfp::NoExchangeRecorder journal;
    for (const auto& name : folder.Names()) nfp::AppendQueueRow(queue, name, folder.Path());
    const auto start = Clock::now();
    nfp::Enviar(queue, results, view, poster, nfp::RegionalSettings::Brazilian(), journal);
    const auto took = Clock::now() - start;
    if (results.RecordCount() != static_cast<int>(folder.Names().size()))
        throw std::runtime_error("the program did not record every file");
    return took;
}

} // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 200;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    const ReceiptFolder folder(files, 20 * 1024);
    nfp::test_support::LocalService service;
    const nfp::HttpPosterSettings settings = service.PosterSettings();
    const std::vector<std::string> bodies = SendingRequests(folder);

    Clock::duration program = Clock::duration::max();
    Clock::duration bare = Clock::duration::max();
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, BareSendRound(bodies, settings));
        program = std::min(program, ProgramRound(folder, settings));
    }
    std::printf("files: %d of 20 KB over loopback TLS\n", files);
    std::printf("bare libcurl loop: %8.1f ms (%.2f ms per file)\n", Milliseconds(bare), Milliseconds(bare) / files);
    std::printf("program send path: %8.1f ms (%.2f ms per file)\n", Milliseconds(program),
                Milliseconds(program) / files);
    std::printf("ratio program/bare: %.3f (target <= 1.15)\n", Milliseconds(program) / Milliseconds(bare));
    curl_global_cleanup();
    return 0;
}
