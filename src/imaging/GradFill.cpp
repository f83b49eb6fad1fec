#include "imaging/GradFill.h"

#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum {

namespace {

constexpr int64_t kOne = 65536; // 16.16 fixed point
constexpr int kLast = kGradMapSize - 1;
constexpr int kMaxPrintedSide = 4096;

int64_t Fixed(double v) { return int64_t(v * double(kOne)); } // truncating

// 2k/127 - 1 in 16.16, truncated.
int64_t GridCoord(int k) { return (int64_t(2 * k - kLast) * kOne) / kLast; }

uint16_t ClampIndex(int64_t i) { return uint16_t(std::clamp<int64_t>(i, 0, kGradTableSize - 1)); }

struct TDirection {
    int64_t Sin, Cos, M;
};

// phi = 360 - angle degrees; m = max(|sin phi|, |cos phi|).
TDirection Direction(int angle) {
    const double phi = double(360 - angle) * std::numbers::pi / 180;
    const double s = std::sin(phi), c = std::cos(phi);
    return {Fixed(s), Fixed(c), Fixed(std::max(std::fabs(s), std::fabs(c)))};
}

uint8_t Channel(TColor c, int shift) { return uint8_t(c >> shift); }

} // namespace

std::unique_ptr<TGradFill> TGradFill::Create(rgGradationKind kind) {
    switch (kind) {
    case rgGradationKind::rgkSimple:
        return std::make_unique<TGradFillAngled>();
    case rgGradationKind::rgkBoxToRim:
    case rgGradationKind::rgkBoxToCenter:
        return std::make_unique<TGradFillDiamond>(kind);
    case rgGradationKind::rgkCircleToRim:
    case rgGradationKind::rgkCircleToCenter:
        return std::make_unique<TGradFillCircle>(kind);
    case rgGradationKind::rgkConeClockwise:
    case rgGradationKind::rgkConeCounterClockwise:
        return std::make_unique<TGradFillCone>(kind);
    }
    return std::make_unique<TGradFillAngled>();
}

bool TGradFill::Reversed() const {
    return FKind == rgGradationKind::rgkBoxToRim || FKind == rgGradationKind::rgkCircleToRim ||
           FKind == rgGradationKind::rgkConeClockwise;
}

TGradTable MakeGradTable(const std::vector<TColor>& colors, bool reversed) {
    TGradTable table{};
    const int64_t n = int64_t(colors.size());
    if (n == 0) return table;
    for (int p = 0; p < kGradTableSize; ++p) {
        const int64_t q = reversed ? kGradTableSize - 1 - p : p;
        const int64_t num = q * (n - 1);
        const size_t i = size_t(num / kGradTableSize);
        const int64_t frac = num % kGradTableSize;
        const TColor c0 = colors[i], c1 = colors[std::min(i + 1, size_t(n - 1))];
        TColor out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int64_t a = Channel(c0, shift), b = Channel(c1, shift);
            out |= TColor(std::clamp<int64_t>(a + frac * (b - a) / kGradTableSize, 0, 255)) << shift;
        }
        table[size_t(p)] = out;
    }
    return table;
}

TGradTable TGradFill::Table(const std::vector<TColor>& colors) const {
    if (!Closed() || colors.empty()) return MakeGradTable(colors, Reversed());
    // The first colour again at the end closes the turn seamlessly.
    std::vector<TColor> closed = colors;
    closed.push_back(colors.front());
    return MakeGradTable(closed, Reversed());
}

TDIB TGradFill::Render(const std::vector<TColor>& colors, int angle) const {
    const TGradTable table = Table(colors);
    const TGradIndexMap map = IndexMap(angle);
    TDIB dib(kGradMapSize, kGradMapSize, 24);
    for (int j = 0; j < kGradMapSize; ++j) {
        uint8_t* row = dib.ScanLine(j);
        for (int k = 0; k < kGradMapSize; ++k, row += 3) {
            const TColor c = table[map[size_t(j * kGradMapSize + k)]];
            row[0] = uint8_t(c >> 16);
            row[1] = uint8_t(c >> 8);
            row[2] = uint8_t(c);
        }
    }
    return dib;
}

TGradIndexMap TGradFillAngled::IndexMap(int angle) const {
    const TDirection d = Direction(angle);
    TGradIndexMap map(size_t(kGradMapSize * kGradMapSize));
    for (int j = 0; j < kGradMapSize; ++j) {
        const int64_t v = GridCoord(j);
        for (int k = 0; k < kGradMapSize; ++k) {
            const int64_t u = GridCoord(k);
            const int64_t along = (u * d.Sin + v * d.Cos) / kOne;
            const int64_t scaled = along * d.M / kOne;
            map[size_t(j * kGradMapSize + k)] = ClampIndex(512 + 512 * scaled / kOne);
        }
    }
    return map;
}

TGradIndexMap TGradFillDiamond::IndexMap(int angle) const {
    const TDirection d = Direction(angle);
    TGradIndexMap map(size_t(kGradMapSize * kGradMapSize));
    for (int j = 0; j < kGradMapSize; ++j) {
        const int64_t v = GridCoord(j);
        for (int k = 0; k < kGradMapSize; ++k) {
            const int64_t u = GridCoord(k);
            const int64_t a = std::abs(u * d.Sin + v * d.Cos) / kOne;
            const int64_t b = std::abs(u * d.Cos - v * d.Sin) / kOne;
            const int64_t scaled = std::max(a, b) * d.M / kOne;
            map[size_t(j * kGradMapSize + k)] = ClampIndex(kGradTableSize * scaled / kOne);
        }
    }
    return map;
}

TGradIndexMap TGradFillCircle::IndexMap(int) const {
    TGradIndexMap map(size_t(kGradMapSize * kGradMapSize));
    for (int j = 0; j < kGradMapSize; ++j) {
        for (int k = 0; k < kGradMapSize; ++k) {
            const double dx = k - 63.5, dy = j - 63.5;
            const int32_t dist = int32_t(Round(4096 * std::sqrt(dx * dx + dy * dy)));
            map[size_t(j * kGradMapSize + k)] = ClampIndex(MulDiv(dist, kGradTableSize, 367831));
        }
    }
    return map;
}

TGradIndexMap TGradFillCone::IndexMap(int angle) const {
    const int64_t halfTurn = Round(4096 * std::numbers::pi);
    const int64_t start = Round(4096 * double(angle) * std::numbers::pi / 180);
    TGradIndexMap map(size_t(kGradMapSize * kGradMapSize));
    for (int j = 0; j < kGradMapSize; ++j) {
        for (int k = 0; k < kGradMapSize; ++k) {
            const double dx = k - 63.5, dy = j - 63.5;
            int64_t value = Round(4096 * std::atan2(dx, dy)) + start;
            value = ((value + halfTurn) % (2 * halfTurn) + 2 * halfTurn) % (2 * halfTurn) - halfTurn;
            const int32_t index = MulDiv(int32_t(value + halfTurn), kGradTableSize, int32_t(2 * halfTurn));
            map[size_t(j * kGradMapSize + k)] = ClampIndex(std::min(index, kGradTableSize - 1));
        }
    }
    return map;
}

void PaintGradation(TCanvas& canvas, const TRect& rect, const std::vector<TColor>& colors, int angle,
                    rgGradationKind kind, bool inverted) {
    if (colors.empty() || rect.IsEmpty()) return;
    // One colour paints as a flat gradient of itself.
    const std::vector<TColor> list = colors.size() == 1 ? std::vector<TColor>{colors[0], colors[0]} : colors;
    TDIB picture = TGradFill::Create(kind)->Render(list, angle);
    if (canvas.IsPrinter()) {
        // Printers would stretch blockily: resample smoothly to the area's
        // size in logical units (bounded, so huge areas stay affordable).
        const int w = std::min(rect.Width(), kMaxPrintedSide), h = std::min(rect.Height(), kMaxPrintedSide);
        picture = ResampleBitmap(picture, {0, 0, kGradMapSize, kGradMapSize}, w, h, TEdgeMode::emRepeat,
                                 TResampleFilter::rfLinear);
    }
    const TCopyMode mode = canvas.CopyMode();
    canvas.SetCopyMode(inverted ? TCopyMode::cmSrcInvert : TCopyMode::cmSrcCopy);
    picture.Draw(canvas, rect);
    canvas.SetCopyMode(mode);
}

} // namespace vellum
