#pragma once
// A multi-line text with its font, alignment, spacing, writing direction,
// rotation, slanted line feed and display conversions: laid out on the
// 254-dpi measuring scale (one unit = 0.1 mm) and drawn as filled glyph
// shapes in logical units, so every canvas shows the same layout.

#include "base/Persistent.h"
#include "base/StringList.h"
#include "objects/CharLayout.h"
#include "platform/Canvas.h"
#include "platform/Font.h"

#include <QPainterPath>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace vellum {

class TStroke;

// Pixels per inch of the measuring scale: one pixel is one logical unit.
inline constexpr int kMeasureDpi = 254;

// The placeholder an empty text shows.
QString EmptyTextPlaceholder();

class TSimpleText : public TPersistent {
    VELLUM_CLASS(TSimpleText)

public:
    TSimpleText();
    ~TSimpleText() override;

    TStringList& Text() const { return *FText; }
    void SetText(const TStringList& text);
    TPointBasedFont& Font() const { return *FFont; }
    void SetFont(const TFont& font);
    int32_t Align() const { return FAlign; }
    void SetAlign(int32_t align);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool vertical);
    int32_t CharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(int32_t spacing);
    int32_t LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int32_t spacing);
    int32_t Bulge() const { return FBulge; }
    void SetBulge(int32_t bulge);
    int32_t Angle() const { return FAngle; }
    void SetAngle(int32_t angle);
    bool HanToZen() const { return FHanToZen; }
    void SetHanToZen(bool value);
    bool NumToKnj() const { return FNumToKnj; }
    void SetNumToKnj(bool value);
    bool MinusExc() const { return FMinusExc; }
    void SetMinusExc(bool value);
    int32_t FeedAngle() const { return FFeedAngle; }
    void SetFeedAngle(int32_t angle);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor color) { FTextColor = color; }

    std::function<void(TSimpleText&)> OnChange;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void Changed();

    // The lines shown: the placeholder for no text, else the text after the conversions.
    QStringList DisplayLines() const;
    // Cell height of the font on the measuring scale.
    int32_t LineHeight() const;
    void UpdateLayout() const;
    // Positions every line in the frame; the rectangle the text occupies.
    TRect GetTextRect(const TRect& frame, bool autoSizing) const;
    // The laid-out lines of the last GetTextRect.
    const std::vector<TCharLayout>& Layouts() const { return FLayouts; }
    // The font the engine draws with, on the measuring scale.
    TFontRequest MeasureFont() const;

    // The glyphs of the text in the frame as one shape in logical units, with
    // the underline and strike-out bands when `decorations`.
    QPainterPath TextPath(const TRect& frame, bool decorations) const;
    // Draws the glyphs and bands in the text colour; vector targets may take
    // the glyphs as embedded font text.
    void Draw(TCanvas& canvas, const TRect& frame) const;
    // Appends the outline of the drawn text.
    void MakeOutline(TStroke& stroke, const TRect& frame, bool decorations) const;

    void Assign(const TPersistent* source) override;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    class TNotifyingLines;
    void TextChanged();
    void FontChanged();
    void EmptyLayout() const { FLayouts.clear(); }
    void ClearConverted() const { FConverted.clear(); }
    struct TShapes {
        QPainterPath Glyphs;
        QPainterPath Bands;
        std::vector<TPlacedGlyph> Placed; // empty when some glyph has no font file of its own
    };
    TShapes Shapes(const TRect& frame, bool decorations, bool placeGlyphs) const;
    // Adds one laid-out line's glyphs and bands; `toCanvas` takes line coordinates
    // (along, across) to logical ones.
    void AddLine(TShapes& shapes, const TCharLayout& line, const QTransform& toCanvas, bool decorations,
                 bool& placeGlyphs) const;

    mutable QStringList FConverted;
    std::unique_ptr<TStringList> FText;
    std::unique_ptr<TPointBasedFont> FFont;
    int32_t FAlign = taStart;
    bool FVertical = false;
    int32_t FCharSpacing = 0;
    int32_t FLineSpacing = 0;
    int32_t FBulge = 0;
    int32_t FAngle = 0;
    int FUpdateCount = 0;
    int FChangeCount = 0;
    bool FNumToKnj = false;
    bool FHanToZen = false;
    bool FMinusExc = false;
    mutable std::vector<TCharLayout> FLayouts;
    // The layout cache is filled while drawing, which may happen on several threads.
    mutable std::recursive_mutex FLayoutLock;
    int32_t FFeedAngle = 0;
    TColor FTextColor = clBlack;
};

} // namespace vellum
