#pragma once
// The font of a text: face name, size, style, colour and charset. TFont
// stores its pixel height at a resolution (screen 96 dpi unless told);
// TPointBasedFont is stored by its size in points and recomputes the height
// for whatever resolution it is used at.

#include "base/Persistent.h"
#include "platform/Canvas.h"
#include "platform/FontEngine.h"

#include <functional>

namespace vellum {

enum TFontStyleBit : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

// The system colour code of window text, as stored for a font's default colour.
inline constexpr int32_t clWindowText = int32_t(0x80000008);

class TFont : public TPersistent {
    VELLUM_CLASS(TFont)

public:
    TFont();

    int Charset() const { return FCharset; }
    void SetCharset(int charset);
    int32_t Color() const { return FColor; }
    void SetColor(int32_t color);
    // The colour drawn: system colours become black.
    TColor DrawColor() const { return FColor < 0 ? clBlack : TColor(FColor); }
    // Negative: the em height in pixels at PixelsPerInch.
    int32_t Height() const;
    void SetHeight(int32_t height);
    QString Name() const { return FName; }
    void SetName(const QString& name);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    // Points.
    int32_t Size() const { return FSize; }
    void SetSize(int32_t size);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);

    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int dpi) { FPixelsPerInch = dpi > 0 ? dpi : 96; }
    // The em height in pixels at the resolution.
    int32_t PixelSizeAt(int dpi) const;
    // The face and size for the font engine at the resolution; the face is
    // the name as stored (the engine resolves it).
    TFontRequest RequestAt(int dpi) const;

    std::function<void()> OnChange;

    void Assign(const TPersistent* source) override;

protected:
    void Changed();

private:
    int FCharset = kDefaultCharset;
    int32_t FColor = clWindowText;
    QString FName;
    TFontPitch FPitch = TFontPitch::fpDefault;
    int32_t FSize = 9;
    TFontStyles FStyle = 0;
    int FPixelsPerInch = 96;
};

class TPointBasedFont : public TFont {
    VELLUM_CLASS(TPointBasedFont)
};

} // namespace vellum
