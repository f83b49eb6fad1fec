#include "commands/BackPaper.h"

#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/Papers.h"

#include <algorithm>

namespace vellum {

namespace {

// The far edge of a run of count faces of size each with gap between them,
// starting at offset; 64-bit so that odd catalogue values cannot overflow.
int64_t RunEnd(int64_t offset, int64_t count, int64_t size, int64_t gap) {
    return offset + (count - 1) * (size + gap) + size;
}

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

} // namespace

void MirrorPaper(TPaperInfo& paper) {
    if (auto* matrix = dynamic_cast<TMatrixPaperInfo*>(&paper)) {
        if (!paper.Landscape())
            matrix->LeftOffset =
                Clamp32(int64_t(paper.PortraitWidth()) - RunEnd(matrix->LeftOffset, matrix->FaceCountX,
                                                                matrix->FaceWidth, matrix->RightMargin));
        else
            matrix->TopOffset =
                Clamp32(int64_t(paper.PortraitHeight()) - RunEnd(matrix->TopOffset, matrix->FaceCountY,
                                                                 matrix->FaceHeight, matrix->BottomMargin));
        return;
    }
    if (auto* free = dynamic_cast<TFreePaperInfo*>(&paper)) {
        TFaces& faces = free->Faces();
        for (int i = 0; i < faces.Count(); ++i) {
            TFaceItem& item = *faces.Item(i);
            if (!paper.Landscape())
                item.SetLeft(Clamp32(int64_t(paper.PortraitWidth()) - item.Rect.Left - item.Width()));
            else
                item.SetTop(Clamp32(int64_t(paper.PortraitHeight()) - item.Rect.Top - item.Height()));
        }
    }
}

std::unique_ptr<TPaperInfo> DeriveBackPaper(const TPaperInfo& front, const TPapers& catalogue,
                                            const QString& recordedName) {
    const QString name = recordedName.isEmpty() ? front.PaperName() : recordedName;
    const int index = catalogue.IndexOfName(name);
    if (index < 0) return nullptr;
    std::unique_ptr<TPaperInfo> back = catalogue.Papers(index)->Clone();
    back->SetLandscape(front.Landscape());
    MirrorPaper(*back);
    return back;
}

int32_t MapBackCardNo(const TPaperInfo& paper, int32_t a, bool frontCurrent, bool sameOrientation) {
    bool inRow = !paper.Landscape();
    if (frontCurrent && !sameOrientation) inRow = !inRow;
    return inRow ? MirrorCardInRow(paper, a) : MirrorCardRows(paper, a);
}

} // namespace vellum
