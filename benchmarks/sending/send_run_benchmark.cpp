// The send run's own work on a 50 MB receipt file: reading it, preparing and
// escaping it into the request, hashing it for the journal, cutting and
// recording the result. The post and the journal's disk writes are left out
// (an answer kept in memory, no journal file). Targets: at least 500 MB/s
// of file, peak memory under four times the file. Run by hand:
//   build/benchmarks/sending/bench_send_run
#include <benchmark/benchmark.h>

#include "allocation_counter.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "sending/send_queue.h"
#include "sending/send_run.h"
#include "util/table_layouts.h"

namespace {

constexpr std::size_t kFileSize = 50u * 1024 * 1024;

class QuietView : public nfp::SendRunView {
public:
    nfp::ServiceCredentials Credentials() override { return {"usuario", "senha", "11222333000181", 1}; }
    void SetBusyCursor(bool) override {}
    void ProcessMessages() override {}
    nfp::SendChoice Choice() override { return {}; }
    void SetStatus(std::string_view) override {}
    void SetProgress(long long, long long) override {}
    int AskAfterUnexpectedReply(const std::string&) override { return 7; }
    int CurrentYear() override { return 2026; }
};

class AcceptingPoster : public nfp::ServicePoster {
public:
    std::string Post(std::string_view request, const nfp::PostingDataHandler&) override {
        benchmark::DoNotOptimize(request.data());
        return "<EnviarResult>10/12/2026 10:00:00 Protocolo 123456789 - Arquivo recebido</EnviarResult>";
    }
};

// A folder of its own with one receipt-like file, removed at the end.
class ReceiptFolder {
public:
    ReceiptFolder() {
        char pattern[] = "/tmp/bench-send-run.XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
        folder_ = std::string(pattern) + "/";
        std::ofstream out(folder_ + "A0001.J39", std::ios::binary);
        const std::string line = "E14|000123|7891234567890|Produto de exemplo & cia|1,000|UN|10,50|10,50\n";
        for (std::size_t written = 0; written + line.size() < kFileSize; written += line.size())
            out << line;
    }
    ~ReceiptFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    ReceiptFolder(const ReceiptFolder&) = delete;
    ReceiptFolder& operator=(const ReceiptFolder&) = delete;
    const std::string& Path() const { return folder_; }

private:
    std::string folder_;
};

void BM_SendRunOneFile(benchmark::State& state) {
    const ReceiptFolder folder;
    const std::size_t fileSize = std::filesystem::file_size(folder.Path() + "A0001.J39");
    QuietView view;
    AcceptingPoster poster;
    const nfp::RegionalSettings regional = nfp::RegionalSettings::Brazilian();
    nfp::MemoryTable queue(nfp::SendQueueLayout());
    nfp::MemoryTable results(nfp::ResultsLayout());
    nfp::NoExchangeRecorder journal;
    const std::size_t before = nfp::bench::RestartPeak();
    for (auto _ : state) {
        nfp::AppendQueueRow(queue, "A0001.J39", folder.Path());
        nfp::Enviar(queue, results, view, poster, regional, journal);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize));
    state.counters["peak_per_file_byte"] =
        static_cast<double>(nfp::bench::PeakAllocatedBytes() - before) / static_cast<double>(fileSize);
}
BENCHMARK(BM_SendRunOneFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
