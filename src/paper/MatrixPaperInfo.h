#pragma once
// A paper of equal faces in a grid, numbered row by row from the top left.

#include "paper/FaceProps.h"
#include "paper/PaperInfo.h"

namespace vellum {

class TMatrixPaperInfo : public TPaperInfo {
    VELLUM_CLASS(TMatrixPaperInfo)
public:
    explicit TMatrixPaperInfo(TComponent* owner = nullptr) : TPaperInfo(owner) {}

    // max(0, FaceCountX) x max(0, FaceCountY), at most INT32_MAX.
    int FaceCount() const override;
    TRect FaceRect(int i) const override;
    void Assign(const TPersistent* source) override;

    int32_t TopOffset = 0;
    int32_t LeftOffset = 0;
    int32_t BottomMargin = 0; // gap between rows
    int32_t RightMargin = 0;  // gap between columns
    int32_t FaceWidth = 0;
    int32_t FaceHeight = 0;
    int32_t FaceCountX = 0;
    int32_t FaceCountY = 0;
    TFaceProps Face; // of every face

protected:
    const TFaceProps* FaceProps(int i) const override;
};

// Card a of a matrix paper of columns x rows mirrored within its row, or
// with the row order mirrored: the same physical card seen from the back.
// Other papers (and numbers outside the paper) keep their number.
int32_t MirrorCardInRow(const TPaperInfo& paper, int32_t a);
int32_t MirrorCardRows(const TPaperInfo& paper, int32_t a);

} // namespace vellum
