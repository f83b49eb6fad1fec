// Macro expansion and settings reads run whenever a window is created.
#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vellum;

namespace {
struct TFrameFixture {
    QTemporaryDir dir;
    std::unique_ptr<TAppFrame> frame;
    TFrameFixture() {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        frame = std::make_unique<TAppFrame>(nullptr, dir.path() + QStringLiteral("/bin/vellum4"));
        LoadStartupMacros(*frame);
    }
};
} // namespace

static void BM_ExpandNestedMacro(benchmark::State& state) {
    TFrameFixture f;
    for (auto _ : state) benchmark::DoNotOptimize(f.frame->Expand(QStringLiteral("$(ColorSpecHistory)")));
}
BENCHMARK(BM_ExpandNestedMacro);

static void BM_ReadSetting(benchmark::State& state) {
    TFrameFixture f;
    for (int i = 0; i < 200; ++i) f.frame->WriteInteger(QStringLiteral("Value%1").arg(i), i);
    for (auto _ : state) benchmark::DoNotOptimize(f.frame->ReadInteger(QStringLiteral("Value100"), 0));
}
BENCHMARK(BM_ReadSetting);
