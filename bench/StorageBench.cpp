// Saving and loading documents: many small streams (cards, previews) and one
// large stream (a photo-heavy profile database), through the codec alone and
// through the working copy with a real file (temporary file, fsync, rename).
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "platform/CompoundFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vellum;

namespace {

constexpr int kSmallStreams = 2000;
constexpr int kSmallSize = 1024;
constexpr qsizetype kLargeSize = 50 * 1024 * 1024;

QByteArray Bytes(qsizetype size) {
    QByteArray b(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) b[i] = char((i * 131) >> 3);
    return b;
}

QString SmallName(int i) { return QStringLiteral("Cards\\%1").arg(i, 8, 16, QChar(u'0')).toUpper(); }

void FillSmall(TTemporaryStorage& doc) {
    const QByteArray data = Bytes(kSmallSize);
    for (int i = 0; i < kSmallStreams; ++i) TDocStream(doc, kModeCreate, SmallName(i)).WriteBytes(data);
}

void FillLarge(TTemporaryStorage& doc) {
    TDocStream(doc, kModeCreate, QStringLiteral("Photos")).WriteBytes(Bytes(kLargeSize));
}

void BM_EncodeSmallStreams(benchmark::State& state) {
    TTemporaryStorage doc;
    FillSmall(doc);
    for (auto _ : state) benchmark::DoNotOptimize(WriteCompoundFile(*doc.Tree()));
    state.SetBytesProcessed(int64_t(state.iterations()) * kSmallStreams * kSmallSize);
}
BENCHMARK(BM_EncodeSmallStreams)->Unit(benchmark::kMillisecond);

void BM_DecodeSmallStreams(benchmark::State& state) {
    TTemporaryStorage doc;
    FillSmall(doc);
    const QByteArray image = WriteCompoundFile(*doc.Tree());
    for (auto _ : state) benchmark::DoNotOptimize(ReadCompoundFile(image));
    state.SetBytesProcessed(int64_t(state.iterations()) * kSmallStreams * kSmallSize);
}
BENCHMARK(BM_DecodeSmallStreams)->Unit(benchmark::kMillisecond);

void BM_SaveSmallStreams(benchmark::State& state) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("doc.xv4"));
    for (auto _ : state) {
        TTemporaryStorage doc;
        FillSmall(doc);
        doc.SaveToFile(file);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSmallStreams * kSmallSize);
}
BENCHMARK(BM_SaveSmallStreams)->Unit(benchmark::kMillisecond);

void BM_LoadSmallStreams(benchmark::State& state) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("doc.xv4"));
    {
        TTemporaryStorage doc;
        FillSmall(doc);
        doc.SaveToFile(file);
    }
    for (auto _ : state) {
        TTemporaryStorage doc;
        doc.LoadFromFile(file);
        int64_t total = 0;
        for (int i = 0; i < kSmallStreams; ++i) total += TDocStream(doc, 0, SmallName(i)).ReadAll().size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSmallStreams * kSmallSize);
}
BENCHMARK(BM_LoadSmallStreams)->Unit(benchmark::kMillisecond);

void BM_SaveLargeStream(benchmark::State& state) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("doc.xv4"));
    TTemporaryStorage doc;
    FillLarge(doc);
    for (auto _ : state) doc.SaveToFile(file);
    state.SetBytesProcessed(int64_t(state.iterations()) * kLargeSize);
}
BENCHMARK(BM_SaveLargeStream)->Unit(benchmark::kMillisecond);

void BM_LoadLargeStream(benchmark::State& state) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("doc.xv4"));
    {
        TTemporaryStorage doc;
        FillLarge(doc);
        doc.SaveToFile(file);
    }
    for (auto _ : state) {
        TTemporaryStorage doc;
        doc.LoadFromFile(file);
        benchmark::DoNotOptimize(TDocStream(doc, 0, QStringLiteral("Photos")).ReadAll().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kLargeSize);
}
BENCHMARK(BM_LoadLargeStream)->Unit(benchmark::kMillisecond);

} // namespace
