// A large report: one million placed texts, in random page order, stored
// and read in order within 300 ms; in writing order faster still; and one
// page read back without walking the rest.
#include <benchmark/benchmark.h>

#include <random>

#include "report/engine/rel_grade.h"

namespace {

constexpr int kItems = 1'000'000;
constexpr int kPerPage = 125; // 8000 pages

// Through the engine, in writing order, as a program writes a report.
void BM_ImpOneMillionItems(benchmark::State& state) {
    for (auto _ : state) {
        nfp::TRelGrade rel;
        rel.TamanhoQteLinhas = 88;
        rel.TamanhoQteColunas = 96;
        rel.Abrir();
        for (int i = 0; i < kItems; ++i) {
            if (i > 0 && i % kPerPage == 0) rel.NovaPagina();
            const int n = i % kPerPage;
            rel.Imp(1 + n * 88 / kPerPage, 1 + (n % 4) * 20, "Resumo do envio 0123456789");
        }
        benchmark::DoNotOptimize(rel.TotalPaginas());
        rel.Abortar();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_ImpOneMillionItems)->Unit(benchmark::kMillisecond);

// Straight into the store in random order, then read once: the worst case
// for keeping the order.
void BM_StoreOneMillionShuffled(benchmark::State& state) {
    std::vector<std::string> items;
    items.reserve(kItems);
    for (int i = 0; i < kItems; ++i) {
        nfp::PageItem item{1 + i / kPerPage, 1 + (i % kPerPage) * 88 / kPerPage, 1 + (i % 4) * 20, 32, 'T',
                           nfp::clBlack, "texto"};
        items.push_back(nfp::FormatPageItem(item));
    }
    std::shuffle(items.begin(), items.end(), std::mt19937(7));
    for (auto _ : state) {
        nfp::PageStore store;
        for (const auto& s : items) store.Add(s);
        // Reading every page once puts it in order.
        std::size_t seen = 0;
        store.ForEach([&](std::string_view) { ++seen; });
        benchmark::DoNotOptimize(seen);
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_StoreOneMillionShuffled)->Unit(benchmark::kMillisecond);

void BM_ItemsOfOnePage(benchmark::State& state) {
    nfp::PageStore store;
    for (int i = 0; i < kItems; ++i)
        store.Add(nfp::FormatPageItem({1 + i / kPerPage, 1 + (i % kPerPage) * 88 / kPerPage, 1, 32, 'T',
                                       nfp::clBlack, "texto"}));
    int page = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.ItemsOfPage(page));
        page = page % (kItems / kPerPage) + 1;
    }
}
BENCHMARK(BM_ItemsOfOnePage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
