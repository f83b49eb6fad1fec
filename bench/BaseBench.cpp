// The byte-boundary work every document load and save does.
#include "base/Cp932.h"
#include "base/Stream.h"

#include <benchmark/benchmark.h>

using namespace vellum;

static QString SampleText() {
    QString s;
    for (int i = 0; i < 2000; ++i)
        s += QStringLiteral("株式会社クイルワーク 営業部 Tel.03-1234-5678 〒100-0001 ");
    return s;
}

static void BM_Cp932Encode(benchmark::State& state) {
    const QString text = SampleText();
    for (auto _ : state) benchmark::DoNotOptimize(cp932::Encode(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size() * 2);
}
BENCHMARK(BM_Cp932Encode);

static void BM_Cp932Decode(benchmark::State& state) {
    const QByteArray bytes = cp932::Encode(SampleText());
    for (auto _ : state) benchmark::DoNotOptimize(cp932::Decode(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Cp932Decode);

static void BM_MemoryStreamIntegers(benchmark::State& state) {
    for (auto _ : state) {
        TMemoryStream s;
        for (int i = 0; i < 10000; ++i) WriteI32(s, i);
        s.SetPosition(0);
        int64_t sum = 0;
        for (int i = 0; i < 10000; ++i) sum += ReadI32(s);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_MemoryStreamIntegers);
