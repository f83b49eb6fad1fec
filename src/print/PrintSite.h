#pragma once
// The print site: a draw site without a window that lays the document's
// cards out on sheets and prints them. At creation it builds the plan (which
// card of which sheet is printed with which profile); Execute prints every
// planned card through the one card renderer, directly or through band
// bitmaps, clipped to its face, then the sheet's frames and cut marks.

#include "editing/DrawSite.h"
#include "print/PrintPlan.h"
#include "print/PrintSpec.h"

#include <functional>

namespace vellum {

class TFaceInfo;
class TLabelData;
class TPaperInfo;
class TPhasedProgressBase;
class TPrintTarget;

// The profiles a job merges: filled by the profile database.
struct TPrintProfiles {
    // How many profiles are marked as selected.
    std::function<int()> SelectedCount;
    // Applies profile index (0-based; with SelectedProfilesOnly the n-th
    // selected one) to a card's objects; an index outside does nothing.
    std::function<void(const TDOList& objects, int profile)> Apply;
};

class TPrintSite : public TDrawSite {
    VELLUM_CLASS(TPrintSite)

public:
    // Neither the document, the progress (may be null) nor the job is owned.
    TPrintSite(TLabelData& document, TPhasedProgressBase* progress, const TPrintSpec& job,
               TPrintProfiles profiles = {}, TComponent* owner = nullptr);
    ~TPrintSite() override;

    const TPrintPlan& Plan() const { return FPlan; }
    const TPrintSpec& Job() const { return FJob; }
    TLabelData& Document() const { return FDocument; }
    const TPaperInfo& Paper() const;
    // The back of the sheet is printed (the document's second sheet is current).
    bool BackSide() const { return FBackSide; }

    // 0 draws every card straight onto the device; 1 through 254-dpi bands;
    // any other value through bands at the device's resolution. A PDF takes
    // bands only for cards that need blending.
    int Banding() const { return FBanding; }
    void SetBanding(int banding) { FBanding = banding; }

    // Set by the progress window's abort; every loop stops at it.
    bool Aborted() const { return FAborted; }
    void SetAborted(bool aborted) { FAborted = aborted; }

    std::function<void(const TDOList& objects, int profile)> OnProfile;

    // The job's name in the printer queue and the PDF's title.
    const QString& JobTitle() const { return FJobTitle; }
    void SetJobTitle(const QString& title) { FJobTitle = title; }

    // Prints the whole job on target. An abort or a failure drops the job
    // (nothing partial is printed or written); a failure raises afterwards.
    void Execute(TPrintTarget& target);
    // Puts the objects of card position card of sheet on the site, moved to
    // their face on the sheet; nothing when the plan does not print it.
    void LoadFace(int sheet, int card);
    // The frames and cut marks of one sheet on a canvas mapped to logical units.
    void DrawCutLines(TCanvas& canvas) const;
    // Frees every object on the site.
    void ClearObjects();

private:
    void PrintSheet(TPrintTarget& target, int sheet, TPoint deviceOffset);
    void PrintCard(TPrintTarget& target, int sheet, int card, TPoint deviceOffset);
    bool Stopped(const TPrintTarget& target) const;
    void Step() const;

    TLabelData& FDocument;
    TPhasedProgressBase* FProgress;
    const TPrintSpec& FJob;
    TPrintProfiles FProfiles;
    TPrintPlan FPlan;
    bool FBackSide = false;
    bool FAborted = false;
    int FBanding = 1;
    QString FJobTitle;
};

} // namespace vellum
