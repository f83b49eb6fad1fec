#include "imaging/GradationColors.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/Stream.h"

#include <algorithm>

namespace vellum {

const TClassInfo& TGradationColors::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TGradationColors, TPersistent>("TGradationColors", [](auto& b) {
            b.Integer("RepeatCount", &TGradationColors::RepeatCount, &TGradationColors::SetRepeatCount)
                .Default(int64_t(1));
            TDefinedProperty colors;
            colors.Name = "Colors";
            colors.HasData = [](const TPersistent& o) {
                return !static_cast<const TGradationColors&>(o).IsDefault();
            };
            colors.ReadBinary = [](TPersistent& o, TStream& s) {
                static_cast<TGradationColors&>(o).ReadColors(s);
            };
            colors.WriteBinary = [](const TPersistent& o, TStream& s) {
                static_cast<const TGradationColors&>(o).WriteColors(s);
            };
            b.Defined(std::move(colors));
        });
    return info;
}

void TGradationColors::SetCount(int count) {
    count = std::max(count, 0);
    if (count == Count()) return;
    FColors.resize(size_t(count), clBlack);
    FNotify.Changed();
}

TColor TGradationColors::Color(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), index));
    return FColors[size_t(index)];
}

void TGradationColors::SetColor(int index, TColor color) {
    if (Color(index) == color) return;
    FColors[size_t(index)] = color;
    FNotify.Changed();
}

void TGradationColors::SetColors(const std::vector<TColor>& colors) {
    if (colors == FColors) return;
    FColors = colors;
    FNotify.Changed();
}

void TGradationColors::SetRepeatCount(int count) {
    count = std::max(count, 1);
    if (count == FRepeatCount) return;
    FRepeatCount = count;
    FNotify.Changed();
}

std::vector<TColor> TGradationColors::Expanded() const {
    std::vector<TColor> out;
    out.reserve(FColors.size() * size_t(FRepeatCount));
    for (int r = 0; r < FRepeatCount; ++r) out.insert(out.end(), FColors.begin(), FColors.end());
    return out;
}

bool TGradationColors::IsDefault() const { return FColors == std::vector<TColor>{clWhite, clBlack}; }

void TGradationColors::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TGradationColors*>(source);
    if (!other) return TPersistent::Assign(source);
    FNotify.BeginUpdate();
    SetColors(other->FColors);
    SetRepeatCount(other->FRepeatCount);
    FNotify.EndUpdate();
}

void TGradationColors::ReadColors(TStream& stream) {
    if (stream.Remaining() < 4) throw EReadError(InvalidStreamMessage());
    const int32_t count = ReadI32(stream);
    // The count must describe exactly the bytes that follow.
    if (count < 0 || int64_t(count) * 4 != stream.Remaining()) throw EReadError(InvalidStreamMessage());
    std::vector<TColor> colors(static_cast<size_t>(count));
    for (TColor& c : colors) c = ReadU32(stream);
    SetColors(colors);
}

void TGradationColors::WriteColors(TStream& stream) const {
    WriteI32(stream, int32_t(FColors.size()));
    for (TColor c : FColors) WriteU32(stream, c);
}

} // namespace vellum
