#include "print/PrintPlan.h"

#include "paper/MatrixPaperInfo.h"

#include <algorithm>

namespace vellum {

int BackSideCard(const TPaperInfo& paper, int j) {
    return paper.Landscape() ? MirrorCardRows(paper, j) : MirrorCardInRow(paper, j);
}

void EffectiveProfileRange(const TPrintSpec& job, int selectedProfiles, int32_t& first, int32_t& last) {
    if (job.SelectedProfilesOnly) {
        first = 1;
        last = std::max(0, selectedProfiles);
    } else {
        first = job.FirstProfile;
        last = job.LastProfile;
    }
}

TPrintPlan BuildPrintPlan(const TPrintSpec& job, const TPlanSource& source, int32_t first, int32_t last) {
    const int cards = std::max(0, source.Cards);
    TPrintPlan plan(size_t(std::max(0, job.PageCount)), std::vector<TPrintCell>(size_t(cards)));
    const int32_t labels = std::max(1, job.LabelsPerProfile);
    const int32_t sheetsPer = std::max(1, job.SheetsPerProfile);
    const int64_t slots = int64_t(last - first + 1) * labels;
    int32_t profile = first - 1;
    int64_t count = 0;
    for (int s = 0; s < job.PageCount; ++s) {
        for (int j = 0; j < cards; ++j) {
            const int i = source.CardAt ? source.CardAt(j) : j;
            const bool selected = job.IsSelected(i);
            const bool content = (source.HasContent && source.HasContent(i)) ||
                                 (job.PrintPaperImage && source.HasDesign && source.HasDesign(j));
            if (selected && content) {
                TPrintCell& cell = plan[size_t(s)][size_t(j)];
                cell.Print =
                    job.FixedProfile || job.ProfilePerSheet || s + 1 < job.PageCount || count < slots;
                if (cell.Print && !job.FixedProfile) cell.Profile = profile;
            }
            if (job.FixedProfile || job.ProfilePerSheet) continue;
            const bool counts = !job.CountSelectedOnly || selected;
            if (counts) {
                ++count;
                if (count % labels == 0) ++profile;
            }
        }
        if (!job.FixedProfile && job.ProfilePerSheet && (s + 1) % sheetsPer == 0) ++profile;
    }
    return plan;
}

int RequiredSheets(const TPrintSpec& job, int cards, int selectedProfiles) {
    if (job.FixedProfile) return job.PageCount;
    int64_t n = job.SelectedProfilesOnly ? selectedProfiles : int64_t(job.LastProfile) - job.FirstProfile + 1;
    if (n < 1) n = 0;
    if (job.ProfilePerSheet) return int(std::min<int64_t>(n * std::max(1, job.SheetsPerProfile), INT32_MAX));
    int64_t f = std::max(0, cards);
    if (job.CountSelectedOnly && !job.AllFaces) {
        f = 0;
        for (int i = 0; i < cards; ++i) f += job.IsSelected(i) ? 1 : 0;
    }
    // No card to count: nothing can be printed, instead of dividing by zero.
    if (f == 0) return 0;
    return int(std::min<int64_t>((f + n * std::max(1, job.LabelsPerProfile) - 1) / f, INT32_MAX));
}

} // namespace vellum
