#include "ui/PrintMemory.h"

#include "print/PrintPlan.h"

namespace vellum {

TPrintSpec TPrintMemory::Spec(int cards, int selectedProfiles) const {
    TPrintSpec spec;
    spec.PrintFrame = Frame;
    spec.CutLineKind = CutLines ? CutKind : TCutLineKind::clkNone;
    spec.PrintPaperImage = PaperImage;
    spec.Offset = Offset;
    spec.AllFaces = AllFaces;
    spec.FaceSelection = Selection;
    spec.FixedProfile = FixedProfile;
    spec.ProfilePerSheet = PerSheet;
    spec.SheetsPerProfile = SheetsPerProfile;
    spec.LabelsPerProfile = LabelsPerProfile;
    spec.CountSelectedOnly = CountSelectedOnly && !PerSheet;
    spec.FirstProfile = FirstProfile;
    spec.LastProfile = LastProfile;
    spec.SelectedProfilesOnly = SelectedProfilesOnly;
    spec.PageCount = Count;
    spec.PageCount = RequiredSheets(spec, cards, selectedProfiles);
    return spec;
}

TPrintMemory& TPrintMemory::Current() {
    static TPrintMemory memory;
    return memory;
}

} // namespace vellum
