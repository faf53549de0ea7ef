// Preparing and building the request of a 50 MB receipt file. Targets: at
// least 500 MB/s of file text, peak memory under four times the file (the
// file itself included). Run by hand:
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
// now and then; `accented` makes it a Windows-1252 file.
std::string ReceiptFile(bool accented) {
    std::string file;
    file.reserve(kFileSize);
    const std::string plain = "E14|000123|7891234567890|Produto de exemplo & cia|1,000|UN|10,50|10,50\n";
    const std::string latin = "E14|000123|7891234567890|Feij\xE3o preto tipo 1 - a\xE7\xFA" "car|1,000|KG|8,99\n";
    while (file.size() + latin.size() < kFileSize) file += accented ? latin : plain;
    file.append(kFileSize - file.size(), 'x');
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
