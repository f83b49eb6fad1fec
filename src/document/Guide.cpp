#include "document/Guide.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"

#include <algorithm>
#include <cstdlib>

namespace vellum {

namespace {

bool IsVertical(TPoint p) { return p.X != 0 && p.Y == 0; }
bool IsHorizontal(TPoint p) { return p.Y != 0 && p.X == 0; }

bool Within(int32_t a, int32_t b, int32_t tolerance) { return std::llabs(int64_t(a) - b) <= tolerance; }

} // namespace

const TClassInfo& TGuide::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TGuide, TPersistent>("TGuide", [](auto& b) {
        b.Boolean("Visible", &TGuide::Visible, &TGuide::SetVisible);
        b.Boolean("Enabled", &TGuide::Enabled, &TGuide::SetEnabled);
        b.Integer("Count", &TGuide::Count, nullptr);
        TDefinedProperty pos;
        pos.Name = QStringLiteral("Pos");
        pos.HasData = [](const TPersistent&) { return true; };
        pos.ReadBinary = [](TPersistent& o, TStream& s) { static_cast<TGuide&>(o).ReadPositions(s); };
        pos.WriteBinary = [](const TPersistent& o, TStream& s) {
            static_cast<const TGuide&>(o).WritePositions(s);
        };
        b.Defined(std::move(pos));
    });
    return info;
}

void TGuide::AssignTo(TPersistent* dest) const {
    auto* guide = dynamic_cast<TGuide*>(dest);
    if (!guide) {
        TPersistent::AssignTo(dest);
        return;
    }
    guide->FVisible = FVisible;
    guide->FEnabled = FEnabled;
    guide->FSlots = FSlots;
}

TPoint TGuide::Get(int index) const {
    if (index < 0 || index >= kCount)
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), index));
    return FSlots[size_t(index)];
}

void TGuide::Set(int index, TPoint p) {
    if (index < 0 || index >= kCount)
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), index));
    FSlots[size_t(index)] = p;
}

int TGuide::FirstFree() const {
    for (int i = 0; i < kCount; ++i)
        if (FSlots[size_t(i)] == TPoint{0, 0}) return i;
    return -1;
}

bool TGuide::IsEmpty() const {
    for (const TPoint& p : FSlots)
        if (!(p == TPoint{0, 0})) return false;
    return true;
}

TSnapOffset TGuide::Snap(TPoint p, int32_t tolerance) const {
    TSnapOffset out;
    if (!FEnabled) return out;
    for (const TPoint& g : FSlots) {
        if (IsVertical(g) && Within(g.X, p.X, tolerance)) {
            const int32_t dx = int32_t(int64_t(g.X) - p.X);
            if (!out.DX || std::llabs(dx) < std::llabs(*out.DX)) out.DX = dx;
        } else if (IsHorizontal(g) && Within(g.Y, p.Y, tolerance)) {
            const int32_t dy = int32_t(int64_t(g.Y) - p.Y);
            if (!out.DY || std::llabs(dy) < std::llabs(*out.DY)) out.DY = dy;
        }
    }
    return out;
}

int TGuide::HitTest(int32_t x, int32_t y, int32_t tolerance) const {
    if (!FEnabled) return -1;
    for (int i = 0; i < kCount; ++i) {
        const TPoint& g = FSlots[size_t(i)];
        if ((IsVertical(g) && Within(g.X, x, tolerance)) || (IsHorizontal(g) && Within(g.Y, y, tolerance)))
            return i;
    }
    return -1;
}

void TGuide::Clip(const TRect& rect) {
    for (TPoint& g : FSlots) {
        const bool outside = (g.X != 0 && g.Y != 0) ||
                             (IsVertical(g) && (g.X < rect.Left || g.X > rect.Right)) ||
                             (IsHorizontal(g) && (g.Y < rect.Top || g.Y > rect.Bottom));
        if (outside) g = TPoint{0, 0};
    }
    if (FEnabled) FEnabled = !IsEmpty();
}

void TGuide::ReadPositions(TStream& stream) {
    const int32_t count = ReadI32(stream);
    const int read = std::clamp(count, 0, kCount);
    if (stream.Remaining() < int64_t(read) * 8) throw EReadError(InvalidStreamMessage());
    std::array<TPoint, kCount> slots{};
    for (int i = 0; i < read; ++i) {
        slots[size_t(i)].X = ReadI32(stream);
        slots[size_t(i)].Y = ReadI32(stream);
    }
    FSlots = slots;
}

void TGuide::WritePositions(TStream& stream) const {
    WriteI32(stream, kCount);
    for (const TPoint& p : FSlots) {
        WriteI32(stream, p.X);
        WriteI32(stream, p.Y);
    }
}

} // namespace vellum
