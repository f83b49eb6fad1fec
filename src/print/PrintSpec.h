#pragma once
// What one print job prints: sheets, cut marks, offset, the cards chosen and
// how profiles are merged into them. Filled from the print dialog's memory
// or the command line; every field zero at creation.

#include "base/Numerics.h"

#include <cstdint>
#include <vector>

namespace vellum {

enum class TCutLineKind : uint8_t {
    clkNone,       // no cut lines
    clkDotted,     // dotted outline of every card
    clkCropMarks,  // crop marks outside the block of cards
    clkCrossMarks, // crosses at the card corners
};

struct TPrintSpec {
    int32_t PageCount = 0;
    bool PrintFrame = false;
    TCutLineKind CutLineKind = TCutLineKind::clkNone;
    bool PrintPaperImage = false;
    // Whole-print shift in 0.1 mm: positive moves right and down.
    TPoint Offset;
    bool AllFaces = false;
    // Non-zero = card selected; an index past the end is not selected.
    std::vector<uint8_t> FaceSelection;
    bool FixedProfile = false;
    bool ProfilePerSheet = false;
    int32_t SheetsPerProfile = 0;
    int32_t LabelsPerProfile = 0;
    bool CountSelectedOnly = false;
    // 1-based, inclusive.
    int32_t FirstProfile = 0;
    int32_t LastProfile = 0;
    bool SelectedProfilesOnly = false;

    bool IsSelected(int card) const {
        return AllFaces ||
               (card >= 0 && size_t(card) < FaceSelection.size() && FaceSelection[size_t(card)] != 0);
    }
    // Grows the selection on demand.
    void SetSelected(int card, bool selected);
};

} // namespace vellum
