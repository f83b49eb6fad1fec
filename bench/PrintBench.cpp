// Printing 100 sheets of ten cards to PDF: each card a filled rectangle and
// a photo (a 1200 x 800 picture); wall time, peak memory and PDF bytes.
// VELLUM_BENCH_PDF=FILE keeps a copy of the PDF.
#include "app/StartupRegistrations.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "imaging/ColorSpec.h"
#include "imaging/SafetyBitmap.h"
#include "objects/LORect.h"
#include "paper/MatrixPaperInfo.h"
#include "print/PrintSite.h"
#include "print/PrintTarget.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace vellum;

namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "bench_print";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    static bool registered = [] {
        RegisterStartupClasses();
        InstallStartupServices();
        return true;
    }();
    (void)registered;
    return app;
}

TDIB Photo() {
    TDIB dib(1200, 800, 24);
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x)
            dib.SetRawPixel(x, y,
                            uint32_t((x * 255 / 1200) | ((y * 255 / 800) << 8) | (((x ^ y) & 0xFF) << 16)));
    return dib;
}

void MakeDocument(TLabelData& doc) {
    TMatrixPaperInfo paper;
    paper.SetPortraitSize(2100, 2970);
    paper.LeftOffset = 140;
    paper.TopOffset = 110;
    paper.FaceWidth = 910;
    paper.FaceHeight = 550;
    paper.FaceCountX = 2;
    paper.FaceCountY = 5;
    doc.SetPaper(&paper);
    doc.SetSeparatelyDesign(false);
    TOwnedDOList card;
    auto& frame = card.Give(std::make_unique<TLORect>());
    frame.SetRect({30, 30, 880, 520});
    TColorSpec blue;
    blue.SetColor(0xC08040);
    frame.SetFillColor(blue);
    frame.SetFillInside(true);
    auto& photo = card.Give(std::make_unique<TLORect>());
    photo.SetRect({600, 80, 840, 240});
    TColorSpec picture;
    TSafetyBitmap photoBitmap;
    photoBitmap.SetDIB(Photo());
    picture.SetBitmap(photoBitmap);
    picture.SetKind(TColorSpecKind::cskBitmap);
    photo.SetFillColor(picture);
    photo.SetFillInside(true);
    doc.SaveCard(0, card);
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_PrintSheetsToPdf(benchmark::State& state) {
    App();
    TLabelData doc;
    MakeDocument(doc);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cards.pdf"));
    TPrintSpec job;
    job.PageCount = int32_t(state.range(0));
    job.AllFaces = true;
    job.FixedProfile = true;
    job.CutLineKind = TCutLineKind::clkCropMarks;
    for (auto _ : state) {
        TPrintSite site(doc, nullptr, job);
        TPdfPrintTarget pdf(file);
        site.Execute(pdf);
    }
    state.counters["pdf_bytes"] = double(QFileInfo(file).size());
    state.counters["peak_rss_kb"] = double(PeakKilobytes());
    state.counters["sheets"] = double(job.PageCount);
    // A copy to look at, when asked for.
    const QString keep = qEnvironmentVariable("VELLUM_BENCH_PDF");
    if (!keep.isEmpty()) {
        QFile::remove(keep);
        QFile::copy(file, keep);
    }
}
BENCHMARK(BM_PrintSheetsToPdf)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
