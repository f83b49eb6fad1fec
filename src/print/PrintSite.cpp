#include "print/PrintSite.h"

#include "core/Capabilities.h"
#include "core/DOGroup.h"
#include "core/DrawObject.h"
#include "document/LabelData.h"
#include "paper/FaceInfo.h"
#include "paper/ImagePaperInfo.h"
#include "paper/PaperInfo.h"
#include "print/CutLines.h"
#include "print/PhasedProgress.h"
#include "print/PrintPage.h"
#include "print/PrintTarget.h"
#include "render/CardRenderer.h"

#include <QScopeGuard>

namespace vellum {

namespace {

// The document sheet printed on the back of the card sheet.
constexpr int kBackSheet = 1;

bool NeedsBlend(const TDrawObject& object) {
    if (object.NeedsBlend()) return true;
    if (const auto* group = dynamic_cast<const TDOGroup*>(&object))
        for (const TDrawObject* child : group->Members())
            if (child && NeedsBlend(*child)) return true;
    return false;
}

void MoveBy(const TOwnedDOList& list, TPoint by) {
    for (TDrawObject* object : list)
        if (auto* bounds = object->Capability<IDOEncloseBounds>()) bounds->Offset(by.X, by.Y);
}

} // namespace

const TClassInfo& TPrintSite::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPrintSite, TDrawSite>("TPrintSite", [](auto&) {});
    return info;
}

TPrintSite::TPrintSite(TLabelData& document, TPhasedProgressBase* progress, const TPrintSpec& job,
                       TPrintProfiles profiles, TComponent* owner)
    : TDrawSite(owner), FDocument(document), FProgress(progress), FJob(job), FProfiles(std::move(profiles)) {
    OnProfile = FProfiles.Apply;
    SetBorder(false);
    Scaler().SetUnitDPI(UnitDPI);
    const TPaperInfo* paper = document.Paper();
    if (!paper) return;
    SetLogWidth(paper->Width());
    SetLogHeight(paper->Height());
    FBackSide = document.CurrentSheet() == kBackSheet;
    TPlanSource source;
    source.Cards = paper->FaceCount();
    if (FBackSide) source.CardAt = [paper](int j) { return BackSideCard(*paper, j); };
    source.HasContent = [&document](int i) { return document.HasCard(i); };
    source.HasDesign = [&document](int j) {
        TDOList design;
        document.ImagePaperInfo().GetDesignRefs(j, design);
        return !design.Empty();
    };
    int32_t first = 0, last = 0;
    EffectiveProfileRange(job, FProfiles.SelectedCount ? FProfiles.SelectedCount() : 0, first, last);
    FPlan = BuildPrintPlan(job, source, first, last);
}

TPrintSite::~TPrintSite() = default;

const TPaperInfo& TPrintSite::Paper() const { return *FDocument.Paper(); }

void TPrintSite::ClearObjects() {
    TDOList objects;
    AllObjects(objects);
    for (TDrawObject* object : objects) FreeComponent(*object);
}

void TPrintSite::LoadFace(int sheet, int card) {
    ClearObjects();
    if (sheet < 0 || size_t(sheet) >= FPlan.size() || card < 0 || size_t(card) >= FPlan[size_t(sheet)].size())
        return;
    const TPrintCell cell = FPlan[size_t(sheet)][size_t(card)];
    if (!cell.Print) return;
    const TPaperInfo& paper = Paper();
    TOwnedDOList list;
    FDocument.LoadCard(FBackSide ? BackSideCard(paper, card) : card, list);
    if (cell.Profile != -1 && OnProfile) OnProfile(list.View(), cell.Profile);
    const TRect placed = paper.FacePlacedRect(card);
    MoveBy(list, {placed.Left, placed.Top});
    if (FJob.PrintPaperImage) {
        TOwnedDOList design;
        FDocument.ImagePaperInfo().GetDesign(card, design);
        if (paper.Landscape()) TurnDesignForLandscape(paper, card, design.View());
        MoveBy(design, {placed.Left, placed.Top});
        for (std::unique_ptr<TDrawObject>& object : design.TakeAll()) {
            object->SetLayerGroup(-50);
            list.Give(std::move(object));
        }
    }
    for (TDrawObject* object : list) {
        object->SetSelectable(false);
        object->SetEnabled(false);
    }
    GiveObjectsToSite(*this, list);
}

void TPrintSite::DrawCutLines(TCanvas& canvas) const {
    vellum::DrawCutLines(canvas, Paper(), FJob, [this] { return FAborted; });
}

bool TPrintSite::Stopped(const TPrintTarget& target) const { return FAborted || !target.Printing(); }

void TPrintSite::Step() const {
    if (FProgress) FProgress->Step();
}

void TPrintSite::Execute(TPrintTarget& target) {
    if (!FDocument.Paper() || FPlan.empty()) return;
    const TPaperInfo& paper = Paper();
    target.SetPaper(paper.PortraitWidth(), paper.PortraitHeight(), paper.Landscape());
    target.Begin(FJobTitle);
    // Anything but a complete job is dropped, so no partial sheet or file is left.
    bool complete = false;
    const auto drop = qScopeGuard([&] {
        ClearObjects();
        if (!complete) target.Abort();
    });
    TCanvas& canvas = target.Canvas();
    const int dpi = canvas.DpiY();
    const TPoint deviceOffset = DeviceOffset(canvas.PhysicalOffset(), FJob.Offset, dpi);
    if (FProgress) FProgress->BeginPhase(1, int32_t(FPlan.size()));
    for (int s = 0; s < int(FPlan.size()) && !Stopped(target); ++s) {
        if (s > 0) target.NewPage();
        PrintSheet(target, s, deviceOffset);
        if (Stopped(target)) break;
        TCanvas& page = target.Canvas();
        const int saved = page.SaveDC();
        TCoordMapping mapping;
        mapping.ViewportOrg = deviceOffset;
        page.SetMapping(mapping);
        ApplyScaleRatio(page, {dpi, 100, UnitDPI});
        DrawCutLines(page);
        page.RestoreDC(saved);
        Step();
    }
    if (FProgress) FProgress->EndPhase();
    if (Stopped(target)) return;
    target.End();
    complete = true;
}

void TPrintSite::PrintSheet(TPrintTarget& target, int sheet, TPoint deviceOffset) {
    const std::vector<TPrintCell>& row = FPlan[size_t(sheet)];
    if (FProgress) FProgress->BeginPhase(1, int32_t(row.size()));
    for (int j = 0; j < int(row.size()) && !Stopped(target); ++j) {
        if (row[size_t(j)].Print) PrintCard(target, sheet, j, deviceOffset);
        Step();
    }
    if (FProgress) FProgress->EndPhase();
}

void TPrintSite::PrintCard(TPrintTarget& target, int sheet, int card, TPoint deviceOffset) {
    LoadFace(sheet, card);
    TCanvas& printer = target.Canvas();
    const int saved = printer.SaveDC();
    const auto restore = qScopeGuard([&] { printer.RestoreDC(saved); });
    const int dpi = printer.DpiY();
    const TScaleRatio ratio{dpi, 100, UnitDPI};
    TFaceInfo face;
    Paper().GetFaceInfo(card, face);

    // The card's shape (hole cut out) clips the printer in device pixels.
    {
        const int mapped = printer.SaveDC();
        TCoordMapping mapping;
        mapping.ViewportOrg = deviceOffset;
        printer.SetMapping(mapping);
        ApplyScaleRatio(printer, ratio);
        const QRegion region = face.Region(&printer, true).ToQRegion();
        printer.RestoreDC(mapped);
        const std::optional<QRegion>& clip = printer.ClipRegion();
        printer.SetClipRegion(clip ? clip->intersected(region) : region);
    }

    TDOList objects;
    AllObjects(objects);
    bool blend = false;
    for (const TDrawObject* object : objects) blend = blend || NeedsBlend(*object);
    // A PDF keeps its vectors: only a card that blends goes through bitmaps.
    const bool pdf = target.Kind() == TRenderTarget::rtPdf;
    const bool banding = pdf ? blend && FBanding != 0 : FBanding != 0;
    const int resolution = FBanding == 1 ? UnitDPI : dpi;
    TStretchPrintPage page(printer, CardDeviceRect(face, dpi), deviceOffset, banding, resolution);
    if (FProgress) FProgress->BeginPhase(1, page.BandCount());
    while (!Stopped(target) && page.NextBand()) {
        TCanvas& canvas = page.Canvas();
        const bool onBand = page.BandBitmap() != nullptr;
        TRenderContext context =
            TRenderContext::Print(onBand || !pdf ? TRenderTarget::rtPrinter : TRenderTarget::rtPdf,
                                  {canvas.DpiY(), 100, UnitDPI});
        context.Date = FDocument.LastPrint();
        if (FProgress) FProgress->BeginPhase(1, objects.Count());
        DrawCard(canvas, objects, face, context, clNone, [&] {
            Step();
            return !Stopped(target);
        });
        if (FProgress) FProgress->EndPhase();
        Step();
    }
    if (FProgress) FProgress->EndPhase();
}

} // namespace vellum
