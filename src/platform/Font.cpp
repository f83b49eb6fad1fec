#include "platform/Font.h"

#include "base/IdentTables.h"
#include "base/Numerics.h"

namespace vellum {

const TClassInfo& TFont::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFont, TPersistent>("TFont", [](auto& b) {
        b.Integer(QStringLiteral("Charset"), &TFont::Charset, &TFont::SetCharset)
            .Default(int64_t(kDefaultCharset));
        b.Integer(QStringLiteral("Color"), &TFont::Color, &TFont::SetColor)
            .Default(int64_t(clWindowText))
            .Idents(ColorIdents());
        b.Integer(QStringLiteral("Height"), &TFont::Height, &TFont::SetHeight);
        b.String(QStringLiteral("Name"), &TFont::Name, &TFont::SetName);
        b.Enumeration(QStringLiteral("Pitch"),
                      {QStringLiteral("fpDefault"), QStringLiteral("fpVariable"), QStringLiteral("fpFixed")},
                      &TFont::Pitch, &TFont::SetPitch)
            .Default(int64_t(0));
        b.Integer(QStringLiteral("Size"), &TFont::Size, &TFont::SetSize).Stored(false);
        b.SetOf(
             QStringLiteral("Style"),
             {QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"),
              QStringLiteral("fsStrikeOut")},
             [](const TFont& f) { return int64_t(f.Style()); },
             [](TFont& f, const TPropValue& v) { f.SetStyle(TFontStyles(std::get<int64_t>(v))); })
            .Default(int64_t(0));
    });
    return info;
}

const TClassInfo& TPointBasedFont::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TPointBasedFont, TFont>("TPointBasedFont", [](auto& b) {
        b.Integer(QStringLiteral("Height"), &TFont::Height, &TFont::SetHeight).Stored(false);
        b.Integer(QStringLiteral("Size"), &TFont::Size, &TFont::SetSize).Stored(true);
    });
    return info;
}

TFont::TFont() : FName(QStringLiteral("ＭＳ Ｐゴシック")) {}

void TFont::Changed() {
    if (OnChange) OnChange();
}

void TFont::SetCharset(int charset) {
    if (FCharset == charset) return;
    FCharset = charset;
    Changed();
}

void TFont::SetColor(int32_t color) {
    if (FColor == color) return;
    FColor = color;
    Changed();
}

int32_t TFont::Height() const { return -PixelSizeAt(FPixelsPerInch); }

void TFont::SetHeight(int32_t height) {
    // A positive height is a cell height in the other convention; both keep the magnitude.
    SetSize(MulDiv(std::abs(height), 72, FPixelsPerInch));
}

void TFont::SetName(const QString& name) {
    if (FName == name) return;
    FName = name;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (FPitch == pitch) return;
    FPitch = pitch;
    Changed();
}

void TFont::SetSize(int32_t size) {
    // Sizes beyond a poster's letters are refused by clamping, so no layout overflows.
    size = std::clamp<int32_t>(size, -4000, 4000);
    if (FSize == size) return;
    FSize = size;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (FStyle == style) return;
    FStyle = style;
    Changed();
}

int32_t TFont::PixelSizeAt(int dpi) const { return std::abs(MulDiv(FSize, dpi, 72)); }

TFontRequest TFont::RequestAt(int dpi) const {
    return TFontRequest{FName, PixelSizeAt(dpi), (FStyle & fsBold) != 0, (FStyle & fsItalic) != 0};
}

void TFont::Assign(const TPersistent* source) {
    if (const auto* font = dynamic_cast<const TFont*>(source)) {
        const bool differs = FCharset != font->FCharset || FColor != font->FColor || FName != font->FName ||
                             FPitch != font->FPitch || FSize != font->FSize || FStyle != font->FStyle;
        FCharset = font->FCharset;
        FColor = font->FColor;
        FName = font->FName;
        FPitch = font->FPitch;
        FSize = font->FSize;
        FStyle = font->FStyle;
        if (differs) Changed();
        return;
    }
    TPersistent::Assign(source);
}

} // namespace vellum
