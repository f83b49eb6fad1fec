// The profile database at the sizes users have: a CSV import of 10,000
// profiles, one profile written into 1,000 profiles that carry 50 KB photos
// (the whole file is rewritten atomically, fsync included), and a sort of
// 10,000 profiles by name.
#include "imaging/DIB.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/PictureEx.h"
#include "imaging/SafetyBitmap.h"
#include "platform/CompoundFile.h"
#include "profile/CSVData.h"
#include "profile/ProfileCSV.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vellum;

namespace {

QString Value(int i, int field) {
    static const QStringList samples{QStringLiteral("山田 太郎"),
                                     QStringLiteral("やまだ たろう"),
                                     QStringLiteral("Yamada Taro"),
                                     QStringLiteral("東京都千代田区丸の内1-1-1"),
                                     QStringLiteral("髙﨑ビル①"),
                                     QStringLiteral("03-1234-5678"),
                                     QStringLiteral("株式会社ベラム"),
                                     QStringLiteral("taro@example.jp")};
    return samples[(i + field) % samples.size()] + QString::number(i % 97);
}

std::unique_ptr<TProfileInfo2> Profile(int i) {
    auto p = std::make_unique<TProfileInfo2>();
    p->Clear();
    for (int k = 1; k < kProfileFieldCount; ++k) p->SetValue(k, Value(i, k));
    return p;
}

// 131 x 130 at 24 bits: a 50 KB bitmap.
void SetPhoto(TProfileInfo2& p, int seed) {
    TDIB dib(131, 130, 24);
    for (int y = 0; y < 130; ++y)
        for (int x = 0; x < 131; ++x)
            dib.SetRawPixel(x, y, uint32_t((x * 7 + y * 13 + seed) * 2654435761u) & 0xFFFFFF);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetDIB(dib);
    p.Face().SetGraphic(std::move(bitmap));
}

void Fill(TProfileDB2& db, int count, bool photos) {
    db.BeginUpdate();
    for (int i = 0; i < count; ++i) {
        auto p = Profile(i);
        if (photos) SetPhoto(*p, i);
        db.Add(*p);
    }
    db.EndUpdate();
}

void BM_ImportCSV10000(benchmark::State& state) {
    QTemporaryDir tmp;
    const QString csv = tmp.filePath(QStringLiteral("profiles.csv"));
    {
        TProfileDB2 source;
        source.SetFileName(tmp.filePath(QStringLiteral("source.mdp")));
        source.Open();
        Fill(source, 10000, false);
        ExportProfiles(source, csv, {true, TCSVEncoding::Cp932});
    }
    int round = 0;
    for (auto _ : state) {
        TProfileDB2 db;
        db.SetFileName(tmp.filePath(QStringLiteral("import%1.mdp").arg(round++)));
        db.Open();
        TCSVData data;
        LoadCSVFile(data, csv);
        const std::vector<int> mapping = MappingByTitle(data.Row(0).Items());
        if (ImportProfiles(db, data, {true, false, mapping}) != 10000) state.SkipWithError("short import");
        db.Close();
    }
}
BENCHMARK(BM_ImportCSV10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteOneOf1000WithPhotos(benchmark::State& state) {
    QTemporaryDir tmp;
    TProfileDB2 db;
    db.SetFileName(tmp.filePath(QStringLiteral("photos.mdp")));
    db.Open();
    Fill(db, 1000, true);
    const auto p = Profile(1);
    SetPhoto(*p, 1);
    int i = 0;
    for (auto _ : state) db.Write((i++ * 37) % 1000, *p);
    state.counters["file MB"] = double(QFile(db.FileName()).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_WriteOneOf1000WithPhotos)->Unit(benchmark::kMillisecond)->Iterations(20);

// The parts of that write: encoding the file image, and writing it (with fsync).
void BM_EncodeAndSave1000WithPhotos(benchmark::State& state) {
    QTemporaryDir tmp;
    const QString name = tmp.filePath(QStringLiteral("photos.mdp"));
    {
        TProfileDB2 db;
        db.SetFileName(name);
        db.Open();
        Fill(db, 1000, true);
    }
    const auto tree = LoadCompoundFile(name);
    const bool save = state.range(0) != 0;
    for (auto _ : state) {
        if (save)
            SaveCompoundFile(*tree, name);
        else
            benchmark::DoNotOptimize(WriteCompoundFile(*tree));
    }
}
BENCHMARK(BM_EncodeAndSave1000WithPhotos)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Sort10000(benchmark::State& state) {
    QTemporaryDir tmp;
    TProfileDB2 db;
    db.SetFileName(tmp.filePath(QStringLiteral("sort.mdp")));
    db.Open();
    Fill(db, 10000, false);
    bool descending = false;
    for (auto _ : state) {
        db.Sort(2, descending);
        descending = !descending;
    }
}
BENCHMARK(BM_Sort10000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    RegisterPictureFormats();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
