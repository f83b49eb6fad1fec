#pragma once
// The back of a card sheet: the same faces seen from behind, so the paper is
// mirrored left to right, and card numbers are mapped so that one physical
// card stays selected when the side or the orientation changes.

#include "paper/MatrixPaperInfo.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace vellum {

class TPaperInfo;
class TPapers;

// Mirrors the faces on the upright sheet: left to right in portrait, top to
// bottom in landscape (the sheet's left to right once turned). Mirroring
// twice restores the paper.
void MirrorPaper(TPaperInfo& paper);

enum class TPaperSide { psFrontToBack, psBackToFront };

// The paper for the other side of front: the catalogue's paper of
// recordedName (the card-paper record's name for that side) or, when that is
// empty, of front's own name; oriented as front and mirrored. Null when the
// catalogue has no such paper.
std::unique_ptr<TPaperInfo> DeriveBackPaper(const TPaperInfo& front, const TPapers& catalogue,
                                            const QString& recordedName = QString());

// The mapping for the current sheet's paper: within the row for portrait,
// the row order for landscape, the other way round when the front sheet is
// current and the two sides' orientations differ.
int32_t MapBackCardNo(const TPaperInfo& paper, int32_t a, bool frontCurrent, bool sameOrientation);

} // namespace vellum
