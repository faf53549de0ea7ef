// Preparing and building the request of a receipt file. Targets: at least
// 1.5 GB/s of file text for a typical receipt file (CR LF line ends, few
// characters to escape; 20 KB and 1 MB), at least 500 MB/s for a 50 MB
// file with LF line ends and an ampersand on every line, peak memory under
// four times the file (the file itself included). On a large file the cost
// of first touching the request's fresh memory (page faults) weighs as
// much as the building itself. Run by hand:
//   build/benchmarks/service/bench_service_envelope
#include <benchmark/benchmark.h>

#include "allocation_counter.h"

#include <cstdlib>
#include <string>

#include "service/file_content.h"
#include "service/service_envelope.h"

namespace {

constexpr std::size_t kFileSize = 50u * 1024 * 1024;

// Receipt-like lines with LF ends (each grows to CR LF) and an ampersand
// on every line; `accented` makes it a Windows-1252 file.
std::string ReceiptFile(bool accented) {
    std::string file;
    file.reserve(kFileSize);
    const std::string plain = "E14|000123|7891234567890|Produto de exemplo & cia|1,000|UN|10,50|10,50\n";
    const std::string latin = "E14|000123|7891234567890|Feij\xE3o preto tipo 1 - a\xE7\xFA" "car|1,000|KG|8,99\n";
    while (file.size() + latin.size() < kFileSize) file += accented ? latin : plain;
    file.append(kFileSize - file.size(), 'x');
    return file;
}

// A typical receipt file of `size` bytes: CR LF line ends, an ampersand on
// one line in twenty.
std::string TypicalReceiptFile(std::size_t size) {
    std::string file;
    file.reserve(size);
    const std::string plain = "E14|000123|7891234567890|Produto de exemplo da loja|1,000|UN|10,50|10,50\r\n";
    const std::string escaped = "E14|000124|7891234567891|Produto de exemplo & cia|2,000|UN|5,25|10,50\r\n";
    for (int line = 0; file.size() + plain.size() <= size; ++line) file += line % 20 == 19 ? escaped : plain;
    return file;
}

const nfp::ServiceCredentials kCredentials{"usuario", "senha", "11222333000181", 1};

// `before`: bytes held before the loop, the file among them.
void Report(benchmark::State& state, const std::string& file, std::size_t before) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["peak_per_file_byte"] =
        static_cast<double>(nfp::bench::PeakAllocatedBytes() - before + file.size()) / static_cast<double>(file.size());
}

// The one-pass build: the file's bytes are prepared and escaped straight
// into the request.
void BM_BuildEnvelopeFromFile(benchmark::State& state) {
    const std::string file = ReceiptFile(state.range(0) != 0);
    nfp::ServiceFields fields;
    fields.NomeArquivo = "a0001.j39";
    fields.EnvioNormal = true;
    const std::size_t before = nfp::bench::RestartPeak();
    for (auto _ : state) {
        std::string request =
            nfp::BuildServiceEnvelopeFromFile(nfp::ServiceOperation::Enviar, kCredentials, fields, file);
        benchmark::DoNotOptimize(request.data());
    }
    Report(state, file, before);
}
BENCHMARK(BM_BuildEnvelopeFromFile)->Arg(0)->Arg(1)->ArgName("windows1252")->Unit(benchmark::kMillisecond);

// A typical file, the request built again and again into fresh memory.
void BM_BuildEnvelopeTypicalFile(benchmark::State& state) {
    const std::string file = TypicalReceiptFile(static_cast<std::size_t>(state.range(0)));
    nfp::ServiceFields fields;
    fields.NomeArquivo = "a0001.j39";
    fields.EnvioNormal = true;
    for (auto _ : state) {
        std::string request =
            nfp::BuildServiceEnvelopeFromFile(nfp::ServiceOperation::Enviar, kCredentials, fields, file);
        benchmark::DoNotOptimize(request.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_BuildEnvelopeTypicalFile)->Arg(20 * 1024)->Arg(1024 * 1024)->ArgName("bytes");

// The same request made in steps (prepare, escape, build), for comparison.
void BM_PrepareEscapeThenBuild(benchmark::State& state) {
    const std::string file = ReceiptFile(false);
    const std::size_t before = nfp::bench::RestartPeak();
    for (auto _ : state) {
        const std::string content = nfp::EscapeFileContent(file);
        nfp::ServiceFields fields;
        fields.NomeArquivo = "a0001.j39";
        fields.ConteudoArquivo = content;
        std::string request = nfp::BuildServiceEnvelope(nfp::ServiceOperation::Enviar, kCredentials, fields);
        benchmark::DoNotOptimize(request.data());
    }
    Report(state, file, before);
}
BENCHMARK(BM_PrepareEscapeThenBuild)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
