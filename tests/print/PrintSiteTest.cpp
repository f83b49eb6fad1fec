#include "print/PrintSite.h"

#include "../core/CoreTestKinds.h"
#include "../support/TestCatalogue.h"
#include "base/ClassRegistry.h"
#include "core/DOList.h"
#include "document/DocumentClasses.h"
#include "document/LabelData.h"
#include "objects/LORect.h"
#include "objects/ObjectClasses.h"
#include "paper/ImagePaperInfo.h"
#include "paper/PaperClasses.h"
#include "print/PhasedProgress.h"
#include "print/PrintTarget.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vellum::test {
namespace {

// A black box on the card, in card coordinates.
const TRect kMark{100, 100, 300, 200};

class PrintSiteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterPaperClasses();
        RegisterDocumentClasses();
        RegisterObjectClasses();
        RegisterClass(TTestShape::StaticClass());
    }

    // The A4 sheet of ten 91 x 55 cards; card 0 of the current sheet holds the mark.
    void SetPaper(bool landscape, int sheet) {
        auto paper = CardSheet(QStringLiteral("A4 10面"), 2, 5);
        paper->LeftOffset = 140;
        paper->TopOffset = 110;
        paper->SetLandscape(landscape);
        Doc.SwitchSheet(sheet);
        Doc.SetPaper(paper.get());
        Doc.SetSeparatelyDesign(true);
        TOwnedDOList card;
        card.Give(std::make_unique<TTestShape>()).SetRect(kMark);
        Doc.SaveCard(0, card);
    }

    QString PathOf(const QString& name) const { return Dir.filePath(name); }

    QByteArray Read(const QString& name) const {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The first page at 254 dpi: one pixel per 0.1 mm.
    QImage Rasterise(const QString& pdf) const {
        QProcess p;
        p.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-aa"), QStringLiteral("no"),
                 QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-singlefile"),
                 QStringLiteral("-png"), PathOf(pdf), PathOf(QStringLiteral("page"))});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) return QImage();
        return QImage(PathOf(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
    }

    TLabelData Doc;
    QTemporaryDir Dir;
};

bool Dark(const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() && qGray(image.pixel(x, y)) < 128;
}

// A line on the pixel boundary x (a whole 0.1 mm) lies on the pixel before
// it or after it: within 0.1 mm of its place along all of it.
bool VerticalLineNear(const QImage& image, int x, int top, int bottom) {
    int hits = 0, samples = 0;
    for (int y = top + 30; y < bottom - 30; y += 7, ++samples)
        hits += Dark(image, x - 1, y) || Dark(image, x, y);
    return samples > 0 && hits == samples;
}

bool HorizontalLineNear(const QImage& image, int y, int left, int right) {
    int hits = 0, samples = 0;
    for (int x = left + 30; x < right - 30; x += 7, ++samples)
        hits += Dark(image, x, y - 1) || Dark(image, x, y);
    return samples > 0 && hits == samples;
}

TEST_F(PrintSiteTest, FramesAndMarksLieOnThePaperDefinitionInEveryOrientationAndSide) {
    struct TCase {
        bool Landscape;
        int Sheet;
        int MarkedPosition; // where card 0's design is printed
    };
    for (const TCase c : {TCase{false, 0, 0}, TCase{true, 0, 0}, TCase{false, 1, 1}, TCase{true, 1, 8}}) {
        SCOPED_TRACE(testing::Message() << "landscape " << c.Landscape << " sheet " << c.Sheet);
        SetPaper(c.Landscape, c.Sheet);
        TPrintSpec job;
        job.PageCount = 1;
        job.AllFaces = true;
        job.FixedProfile = true;
        job.PrintFrame = true;
        job.CutLineKind = TCutLineKind::clkCropMarks;
        TPrintSite site(Doc, nullptr, job);
        TPdfPrintTarget pdf(PathOf(QStringLiteral("sheet.pdf")));
        site.Execute(pdf);
        const QImage page = Rasterise(QStringLiteral("sheet.pdf"));
        ASSERT_FALSE(page.isNull());
        const TPaperInfo& paper = *Doc.Paper();
        EXPECT_NEAR(page.width(), paper.Width(), 1);
        EXPECT_NEAR(page.height(), paper.Height(), 1);
        for (int j = 0; j < paper.FaceCount(); ++j) {
            const TRect r = paper.FacePlacedRect(j);
            EXPECT_TRUE(VerticalLineNear(page, r.Left, r.Top, r.Bottom)) << "left edge of card " << j;
            EXPECT_TRUE(VerticalLineNear(page, r.Right, r.Top, r.Bottom)) << "right edge of card " << j;
            EXPECT_TRUE(HorizontalLineNear(page, r.Top, r.Left, r.Right)) << "top edge of card " << j;
            EXPECT_TRUE(HorizontalLineNear(page, r.Bottom, r.Left, r.Right)) << "bottom edge of card " << j;
            // Nothing else near the edges: the frame is one thin line.
            EXPECT_FALSE(Dark(page, r.Left + 3, (r.Top + r.Bottom) / 2)) << j;
            EXPECT_FALSE(Dark(page, r.Right - 3, (r.Top + r.Bottom) / 2)) << j;
            const int x = r.Left + (kMark.Left + kMark.Right) / 2, y = r.Top + (kMark.Top + kMark.Bottom) / 2;
            EXPECT_EQ(Dark(page, x, y), j == c.MarkedPosition) << "mark on card " << j;
            if (j == c.MarkedPosition) {
                EXPECT_TRUE(Dark(page, r.Left + kMark.Left + 1, r.Top + kMark.Top + 1));
                EXPECT_FALSE(Dark(page, r.Left + kMark.Left - 2, r.Top + kMark.Top - 2));
                EXPECT_TRUE(Dark(page, r.Left + kMark.Right - 2, r.Top + kMark.Bottom - 2));
                EXPECT_FALSE(Dark(page, r.Left + kMark.Right + 1, r.Top + kMark.Bottom + 1));
            }
        }
        // The top-left crop mark stands above the block.
        const TRect first = paper.FacePlacedRect(c.Landscape ? 8 : 0);
        EXPECT_TRUE(Dark(page, first.Left, first.Top - 12) || Dark(page, first.Left - 1, first.Top - 12));
    }
}

TEST_F(PrintSiteTest, ShapesStayVectorsAndOnlyABlendingCardBecomesAnImage) {
    SetPaper(false, 0);
    TPrintSpec job;
    job.PageCount = 2;
    job.AllFaces = true;
    job.FixedProfile = true;
    {
        TPrintSite site(Doc, nullptr, job);
        TPdfPrintTarget pdf(PathOf(QStringLiteral("vector.pdf")));
        site.Execute(pdf);
    }
    const QByteArray vector = Read(QStringLiteral("vector.pdf"));
    ASSERT_TRUE(vector.startsWith("%PDF"));
    EXPECT_EQ(vector.count("/Type /Page\n") + vector.count("/Type /Page\r") + vector.count("/Type /Page "),
              2);
    EXPECT_EQ(vector.count("/Subtype /Image"), 0);

    TOwnedDOList card;
    card.Give(std::make_unique<TTestShape>()).SetRect(kMark);
    card.Give(std::make_unique<TTestShape>()).SetRect(kMark);
    static_cast<TTestShape*>(card.Items(1))->SetBlendRatio(50);
    Doc.SaveCard(3, card);
    {
        TPrintSite site(Doc, nullptr, job);
        TPdfPrintTarget pdf(PathOf(QStringLiteral("blend.pdf")));
        site.Execute(pdf);
    }
    // One band for card 3, the same on both sheets and so kept once.
    EXPECT_EQ(Read(QStringLiteral("blend.pdf")).count("/Subtype /Image"), 1);
}

// Aborts the job once it has gone this far.
class TAbortingProgress : public TPhasedProgressBase {
public:
    TPrintSite* Site = nullptr;
    int32_t AbortAt = 5000;

protected:
    void Report(int32_t position) override {
        if (Site && position >= AbortAt) Site->SetAborted(true);
    }
};

TEST_F(PrintSiteTest, AnAbortedOrFailedJobLeavesNoPartialFileAndTheOldOneAsItWas) {
    SetPaper(false, 0);
    const QString out = PathOf(QStringLiteral("out.pdf"));
    {
        QFile old(out);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    TPrintSpec job;
    job.PageCount = 3;
    job.AllFaces = true;
    job.FixedProfile = true;

    TAbortingProgress progress;
    TPrintSite aborted(Doc, &progress, job);
    progress.Site = &aborted;
    TPdfPrintTarget first(out);
    aborted.Execute(first);
    EXPECT_TRUE(aborted.Aborted());
    EXPECT_EQ(Read(QStringLiteral("out.pdf")), QByteArray("old"));

    // A failure on the second sheet.
    job.FixedProfile = false;
    job.ProfilePerSheet = true;
    job.SheetsPerProfile = 1;
    job.FirstProfile = 1;
    job.LastProfile = 3;
    TPrintSite failing(Doc, nullptr, job);
    failing.OnProfile = [](const TDOList&, int profile) {
        if (profile == 1) throw std::runtime_error("profile unreadable");
    };
    TPdfPrintTarget second(out);
    EXPECT_THROW(failing.Execute(second), std::runtime_error);
    EXPECT_EQ(Read(QStringLiteral("out.pdf")), QByteArray("old"));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.pdf")});

    // A complete job replaces it.
    TPrintSite complete(Doc, nullptr, job);
    int merged = 0;
    complete.OnProfile = [&](const TDOList& objects, int profile) {
        EXPECT_EQ(objects.Count(), 1);
        EXPECT_EQ(profile, merged);
        ++merged;
    };
    TPdfPrintTarget third(out);
    complete.Execute(third);
    EXPECT_EQ(merged, 3);
    EXPECT_TRUE(Read(QStringLiteral("out.pdf")).startsWith("%PDF"));
}

TEST_F(PrintSiteTest, ThePaperDesignPrintsUnderTheCardAndTurnsWithALandscapeSheet) {
    SetPaper(true, 0);
    TImagePaperInfo design;
    design.SetSeparatelyDesign(false);
    TOwnedDOList objects;
    auto& rect = objects.Give(std::make_unique<TLORect>());
    rect.SetRect({100, 100, 300, 200}); // centred at (200, 150) on the upright face
    design.SetDesign(0, std::move(objects));
    Doc.SetImagePaperInfo(&design);
    TPrintSpec job;
    job.PageCount = 1;
    job.AllFaces = true;
    job.FixedProfile = true;
    job.PrintPaperImage = true;
    TPrintSite site(Doc, nullptr, job);
    // Every card prints: the design counts as content.
    for (const TPrintCell& cell : site.Plan()[0]) EXPECT_TRUE(cell.Print);
    site.LoadFace(0, 0);
    TDOList loaded;
    site.AllObjects(loaded);
    ASSERT_EQ(loaded.Count(), 2);
    const TRect placed = Doc.Paper()->FacePlacedRect(0);
    const TLORect* turned = nullptr;
    for (TDrawObject* object : loaded)
        if (object->LayerGroup() == -50) turned = dynamic_cast<const TLORect*>(object);
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->GetAngle(), -90);
    const TRect b = turned->GetBounds();
    EXPECT_NEAR((b.Left + b.Right) / 2 - placed.Left, 150, 1);
    EXPECT_NEAR((b.Top + b.Bottom) / 2 - placed.Top, 910 - 200, 1);
}

TEST(PhasedProgress, InnerPhasesDivideTheStepOfThePhaseAroundThem) {
    TPhasedProgressBase progress;
    progress.BeginPhase(1, 4);
    progress.Step();
    progress.BeginPhase(1, 2);
    progress.Step();
    EXPECT_EQ(progress.Position(), 2500 + 1250);
    progress.EndPhase();
    progress.Step();
    progress.Step();
    progress.Step();
    EXPECT_EQ(progress.Position(), 10000);
    progress.EndPhase();
    EXPECT_EQ(progress.Depth(), 1);
}

} // namespace
} // namespace vellum::test
