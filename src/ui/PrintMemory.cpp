#include "ui/PrintMemory.h"

#include "print/PrintPlan.h"

namespace vellum {

TPrintSpec TPrintMemory::Job(int cards, int selectedProfiles) const {
    TPrintSpec job;
    job.PrintFrame = Frame;
    job.CutLineKind = CutLines ? CutKind : TCutLineKind::clkNone;
    job.PrintPaperImage = PaperImage;
    job.Offset = Offset;
    job.AllFaces = AllFaces;
    job.FaceSelection = Selection;
    job.FixedProfile = FixedProfile;
    job.ProfilePerSheet = PerSheet;
    job.SheetsPerProfile = SheetsPerProfile;
    job.LabelsPerProfile = LabelsPerProfile;
    job.CountSelectedOnly = CountSelectedOnly && !PerSheet;
    job.FirstProfile = FirstProfile;
    job.LastProfile = LastProfile;
    job.SelectedProfilesOnly = SelectedProfilesOnly;
    job.PageCount = Count;
    job.PageCount = RequiredSheets(job, cards, selectedProfiles);
    return job;
}

TPrintMemory& TPrintMemory::Current() {
    static TPrintMemory memory;
    return memory;
}

} // namespace vellum
