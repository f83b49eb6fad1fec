#include "print/CutLines.h"

#include "paper/FaceInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "platform/Canvas.h"

#include <array>
#include <set>

namespace vellum {

namespace {

// Which sides of a card face the outside of its block of cards.
struct TOuterSides {
    bool Top = true, Bottom = true, Left = true, Right = true;
};

TOuterSides OuterSides(const TPaperInfo& paper, int i) {
    const auto* m = dynamic_cast<const TMatrixPaperInfo*>(&paper);
    if (!m || m->FaceCountX <= 0 || m->FaceCountY <= 0) return {};
    int cx = m->FaceCountX, cy = m->FaceCountY;
    int c = i % cx, r = i / cx;
    int32_t columnGap = m->RightMargin, rowGap = m->BottomMargin;
    if (paper.Landscape()) {
        // The sheet turned a quarter: upright rows become columns.
        const int c2 = r, r2 = cx - 1 - c;
        c = c2;
        r = r2;
        std::swap(cx, cy);
        std::swap(columnGap, rowGap);
    }
    TOuterSides sides;
    sides.Left = c == 0 || columnGap > 0;
    sides.Right = c == cx - 1 || columnGap > 0;
    sides.Top = r == 0 || rowGap > 0;
    sides.Bottom = r == cy - 1 || rowGap > 0;
    return sides;
}

class TMarkPainter {
public:
    explicit TMarkPainter(TCanvas& canvas) : FCanvas(canvas) {}

    void Segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        if (!FSegments.insert({x1, y1, x2, y2}).second) return;
        FCanvas.MoveTo(x1, y1);
        FCanvas.LineTo(x2, y2);
    }
    void Cross(int32_t x, int32_t y) {
        if (!FCrosses.insert({x, y}).second) return;
        FCanvas.MoveTo(x - kCrossArm, y);
        FCanvas.LineTo(x + kCrossArm, y);
        FCanvas.MoveTo(x, y - kCrossArm);
        FCanvas.LineTo(x, y + kCrossArm);
    }

private:
    TCanvas& FCanvas;
    std::set<std::array<int32_t, 4>> FSegments;
    std::set<std::array<int32_t, 2>> FCrosses;
};

} // namespace

void DrawCutLines(TCanvas& canvas, const TPaperInfo& paper, const TPrintSpec& job,
                  const std::function<bool()>& stop) {
    const TPen solid{TPenStyle::psSolid, 0, clBlack};
    const TPen dashed{TPenStyle::psDash, 0, clBlack};
    const TPen marks{TPenStyle::psSolid, 0, clBlack};
    TMarkPainter painter(canvas);
    const int saved = canvas.SaveDC();
    canvas.SetBrush({TBrushStyle::bsClear, clWhite});
    TFaceInfo face;
    for (int i = 0, n = paper.FaceCount(); i < n; ++i) {
        if (stop && stop()) break;
        if (!job.IsSelected(i)) continue;
        paper.GetFaceInfo(i, face);
        const TRect r = NormalizeRect(face.FaceRect);
        if (job.PrintFrame) {
            canvas.SetPen(solid);
            face.DrawShape(canvas, false, false);
        }
        switch (job.CutLineKind) {
        case TCutLineKind::clkNone:
            break;
        case TCutLineKind::clkDotted:
            if (job.PrintFrame && face.Margin == 0) break;
            canvas.SetPen(dashed);
            if (face.Margin != 0) {
                face.DrawCutLine(canvas, false);
            } else if (face.Shape != TFaceShape::fsRect) {
                face.DrawShape(canvas, false, false);
            } else {
                painter.Segment(r.Left, r.Top, r.Right, r.Top);
                painter.Segment(r.Right, r.Top, r.Right, r.Bottom);
                painter.Segment(r.Left, r.Bottom, r.Right, r.Bottom);
                painter.Segment(r.Left, r.Top, r.Left, r.Bottom);
            }
            break;
        case TCutLineKind::clkCropMarks: {
            canvas.SetPen(marks);
            const int32_t g = face.Margin + 2;
            const TOuterSides sides = OuterSides(paper, i);
            if (sides.Top) {
                painter.Segment(r.Left, r.Top - g, r.Left, r.Top - g - kCropMarkLength);
                painter.Segment(r.Right, r.Top - g, r.Right, r.Top - g - kCropMarkLength);
            }
            if (sides.Bottom) {
                painter.Segment(r.Left, r.Bottom + g, r.Left, r.Bottom + g + kCropMarkLength);
                painter.Segment(r.Right, r.Bottom + g, r.Right, r.Bottom + g + kCropMarkLength);
            }
            if (sides.Left) {
                painter.Segment(r.Left - g, r.Top, r.Left - g - kCropMarkLength, r.Top);
                painter.Segment(r.Left - g, r.Bottom, r.Left - g - kCropMarkLength, r.Bottom);
            }
            if (sides.Right) {
                painter.Segment(r.Right + g, r.Top, r.Right + g + kCropMarkLength, r.Top);
                painter.Segment(r.Right + g, r.Bottom, r.Right + g + kCropMarkLength, r.Bottom);
            }
            break;
        }
        case TCutLineKind::clkCrossMarks:
            canvas.SetPen(marks);
            painter.Cross(r.Left, r.Top);
            painter.Cross(r.Right, r.Top);
            painter.Cross(r.Right, r.Bottom);
            painter.Cross(r.Left, r.Bottom);
            break;
        }
    }
    canvas.RestoreDC(saved);
}

} // namespace vellum
