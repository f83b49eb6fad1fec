#pragma once
// The print dialog's choices, remembered from one dialog to the next until
// the program ends (never on disk).

#include "print/PrintSpec.h"

#include <QString>

#include <vector>

namespace vellum {

struct TPrintMemory {
    int Count = 1;
    bool Frame = false;
    bool CutLines = false;
    TCutLineKind CutKind = TCutLineKind::clkDotted;
    bool PaperImage = false;
    TPoint Offset; // 0.1 mm
    bool AllFaces = true;
    std::vector<uint8_t> Selection;
    bool FixedProfile = true;
    bool PerSheet = true;
    int SheetsPerProfile = 1;
    int LabelsPerProfile = 1;
    bool CountSelectedOnly = false;
    int FirstProfile = 1;
    int LastProfile = 1;
    bool SelectedProfilesOnly = false;
    // The printer last printed on; empty for the default.
    QString Printer;
    bool LastMerged = false;

    // The job of these choices for a paper of cards cards; its sheet
    // count is the one the dialog shows.
    TPrintSpec Job(int cards, int selectedProfiles) const;

    static TPrintMemory& Current();
};

} // namespace vellum
