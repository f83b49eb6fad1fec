#include "paper/MatrixPaperInfo.h"

#include <climits>

namespace vellum {
namespace {

template <class T>
void GridInteger(TClassBuilder<T>& b, const char* name, int32_t T::*field) {
    b.Integer(
        QString::fromLatin1(name), [field](const T& o) { return o.*field; },
        [field](T& o, const TPropValue& v) { o.*field = faceprops::ToInt32(v); });
}

} // namespace

const TClassInfo& TMatrixPaperInfo::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TMatrixPaperInfo, TPaperInfo>("TMatrixPaperInfo", [](auto& b) {
            using T = TMatrixPaperInfo;
            GridInteger(b, "TopOffset", &T::TopOffset);
            GridInteger(b, "LeftOffset", &T::LeftOffset);
            GridInteger(b, "BottomMargin", &T::BottomMargin);
            GridInteger(b, "RightMargin", &T::RightMargin);
            GridInteger(b, "FaceWidth", &T::FaceWidth);
            GridInteger(b, "FaceHeight", &T::FaceHeight);
            GridInteger(b, "FaceCountX", &T::FaceCountX);
            GridInteger(b, "FaceCountY", &T::FaceCountY);
            faceprops::FaceShape(b, &T::Face);
            faceprops::FacePurpose(b, &T::Face);
            faceprops::FaceMargin(b, &T::Face);
            faceprops::CutOut(b, &T::Face);
        });
    return info;
}

int TMatrixPaperInfo::FaceCount() const {
    // A paper read from a file may claim any counts: negative ones give no faces.
    const int64_t n = int64_t(std::max(0, FaceCountX)) * std::max(0, FaceCountY);
    return int(std::min<int64_t>(n, INT_MAX));
}

TRect TMatrixPaperInfo::FaceRect(int i) const {
    if (i < 0 || i >= FaceCount()) return {};
    const int64_t c = i % FaceCountX, r = i / FaceCountX;
    const int64_t left = LeftOffset + c * (int64_t(FaceWidth) + RightMargin);
    const int64_t top = TopOffset + r * (int64_t(FaceHeight) + BottomMargin);
    return SaturatedRect(left, top, left + FaceWidth, top + FaceHeight);
}

const TFaceProps* TMatrixPaperInfo::FaceProps(int i) const {
    return i >= 0 && i < FaceCount() ? &Face : nullptr;
}

void TMatrixPaperInfo::Assign(const TPersistent* source) {
    TPaperInfo::Assign(source);
    const auto* other = dynamic_cast<const TMatrixPaperInfo*>(source);
    if (!other || other == this) return;
    TopOffset = other->TopOffset;
    LeftOffset = other->LeftOffset;
    BottomMargin = other->BottomMargin;
    RightMargin = other->RightMargin;
    FaceWidth = other->FaceWidth;
    FaceHeight = other->FaceHeight;
    FaceCountX = other->FaceCountX;
    FaceCountY = other->FaceCountY;
    Face = other->Face;
}

namespace {

const TMatrixPaperInfo* FilledMatrix(const TPaperInfo& paper) {
    const auto* matrix = dynamic_cast<const TMatrixPaperInfo*>(&paper);
    if (!matrix || matrix->FaceCountX <= 0 || matrix->FaceCountY <= 0) return nullptr;
    return matrix;
}

} // namespace

int32_t MirrorCardInRow(const TPaperInfo& paper, int32_t a) {
    const TMatrixPaperInfo* m = FilledMatrix(paper);
    if (!m || a < 0 || a >= paper.FaceCount()) return a;
    const int32_t x = m->FaceCountX;
    return x + x * (a / x) - (a % x) - 1;
}

int32_t MirrorCardRows(const TPaperInfo& paper, int32_t a) {
    const TMatrixPaperInfo* m = FilledMatrix(paper);
    if (!m || a < 0 || a >= paper.FaceCount()) return a;
    const int32_t x = m->FaceCountX;
    return (a % x) + x * (m->FaceCountY - (a / x) - 1);
}

} // namespace vellum
