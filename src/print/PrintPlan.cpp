#include "print/PrintPlan.h"

#include "paper/MatrixPaperInfo.h"

#include <algorithm>

namespace vellum {

int BackSideCard(const TPaperInfo& paper, int j) {
    return paper.Landscape() ? MirrorCardRows(paper, j) : MirrorCardInRow(paper, j);
}

void EffectiveProfileRange(const TPrintSpec& spec, int selectedProfiles, int32_t& first, int32_t& last) {
    if (spec.SelectedProfilesOnly) {
        first = 1;
        last = std::max(0, selectedProfiles);
    } else {
        first = spec.FirstProfile;
        last = spec.LastProfile;
    }
}

TPrintPlan BuildPrintPlan(const TPrintSpec& spec, const TPlanSource& source, int32_t first, int32_t last) {
    const int cards = std::max(0, source.Cards);
    TPrintPlan plan(size_t(std::max(0, spec.PageCount)), std::vector<TPrintCell>(size_t(cards)));
    const int32_t labels = std::max(1, spec.LabelsPerProfile);
    const int32_t sheetsPer = std::max(1, spec.SheetsPerProfile);
    const int64_t slots = int64_t(last - first + 1) * labels;
    int32_t profile = first - 1;
    int64_t count = 0;
    for (int s = 0; s < spec.PageCount; ++s) {
        for (int j = 0; j < cards; ++j) {
            const int i = source.CardAt ? source.CardAt(j) : j;
            const bool selected = spec.IsSelected(i);
            const bool content = (source.HasContent && source.HasContent(i)) ||
                                 (spec.PrintPaperImage && source.HasDesign && source.HasDesign(j));
            if (selected && content) {
                TPrintCell& cell = plan[size_t(s)][size_t(j)];
                cell.Print =
                    spec.FixedProfile || spec.ProfilePerSheet || s + 1 < spec.PageCount || count < slots;
                if (cell.Print && !spec.FixedProfile) cell.Profile = profile;
            }
            if (spec.FixedProfile || spec.ProfilePerSheet) continue;
            const bool counts = !spec.CountSelectedOnly || selected;
            if (counts) {
                ++count;
                if (count % labels == 0) ++profile;
            }
        }
        if (!spec.FixedProfile && spec.ProfilePerSheet && (s + 1) % sheetsPer == 0) ++profile;
    }
    return plan;
}

int RequiredSheets(const TPrintSpec& spec, int cards, int selectedProfiles) {
    if (spec.FixedProfile) return spec.PageCount;
    int64_t n =
        spec.SelectedProfilesOnly ? selectedProfiles : int64_t(spec.LastProfile) - spec.FirstProfile + 1;
    if (n < 1) n = 0;
    if (spec.ProfilePerSheet)
        return int(std::min<int64_t>(n * std::max(1, spec.SheetsPerProfile), INT32_MAX));
    int64_t f = std::max(0, cards);
    if (spec.CountSelectedOnly && !spec.AllFaces) {
        f = 0;
        for (int i = 0; i < cards; ++i) f += spec.IsSelected(i) ? 1 : 0;
    }
    // No card to count: nothing can be printed, instead of dividing by zero.
    if (f == 0) return 0;
    return int(std::min<int64_t>((f + n * std::max(1, spec.LabelsPerProfile) - 1) / f, INT32_MAX));
}

} // namespace vellum
