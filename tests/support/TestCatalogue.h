#pragma once
// A small paper catalogue for tests of the document commands: a 2 x 5 card
// sheet, a single card and a free-layout sheet of two cards.

#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/Papers.h"

#include <memory>

namespace vellum::test {

inline std::unique_ptr<TMatrixPaperInfo> CardSheet(const QString& name, int columns, int rows) {
    auto paper = std::make_unique<TMatrixPaperInfo>();
    paper->SetPaperName(name);
    paper->SetPortraitSize(2100, 2970);
    paper->FaceWidth = 910;
    paper->FaceHeight = 550;
    paper->FaceCountX = columns;
    paper->FaceCountY = rows;
    paper->LeftOffset = 100;
    paper->TopOffset = 100;
    return paper;
}

// Opens fileName as a new catalogue holding "名刺10面", "名刺1面" and "自由配置".
inline void OpenTestCatalogue(TPapers& catalogue, const QString& fileName) {
    catalogue.Open(fileName, false);
    catalogue.Store(*CardSheet(QStringLiteral("名刺10面"), 2, 5));
    catalogue.Store(*CardSheet(QStringLiteral("名刺1面"), 1, 1));
    TFreePaperInfo free;
    free.SetPaperName(QStringLiteral("自由配置"));
    free.SetPortraitSize(2100, 2970);
    free.Faces().Add()->Rect = {100, 100, 1010, 650};
    free.Faces().Add()->Rect = {1100, 100, 2010, 650};
    catalogue.Store(free);
}

} // namespace vellum::test
