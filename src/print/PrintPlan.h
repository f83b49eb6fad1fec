#pragma once
// The print plan: which cards of which sheet are printed and with which
// profile, and the sheet count the print dialog shows for its choices.

#include "print/PrintSpec.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vellum {

class TPaperInfo;

struct TPrintCell {
    // 0-based profile index, -1 = none.
    int32_t Profile = -1;
    bool Print = false;
    friend bool operator==(const TPrintCell&, const TPrintCell&) = default;
};

// Plan[sheet][card position].
using TPrintPlan = std::vector<std::vector<TPrintCell>>;

// The document card printed at card position j when the back of the sheet
// is printed: columns mirrored on a portrait matrix paper, rows mirrored on
// a landscape one, j itself on other papers.
int BackSideCard(const TPaperInfo& paper, int j);

// What the plan asks of the document.
struct TPlanSource {
    int Cards = 0;
    // The document card printed at card position j; none: card j.
    std::function<int(int position)> CardAt;
    // The document has objects for card i.
    std::function<bool(int card)> HasContent;
    // The paper's printed design has objects for card position j.
    std::function<bool(int position)> HasDesign;
};

// The profile range the plan counts: 1..selectedProfiles when only the
// selected profiles are printed, else the job's range.
void EffectiveProfileRange(const TPrintSpec& job, int selectedProfiles, int32_t& first, int32_t& last);

// One row per sheet, one cell per card position; profiles from
// first..last (1-based) as EffectiveProfileRange gives them.
TPrintPlan BuildPrintPlan(const TPrintSpec& job, const TPlanSource& source, int32_t first, int32_t last);

// The sheets the dialog's choices need: PageCount with a fixed profile;
// when merging, enough sheets for every profile (0 when no profile or no
// card counts).
int RequiredSheets(const TPrintSpec& job, int cards, int selectedProfiles);

} // namespace vellum
