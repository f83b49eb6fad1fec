#include "objects/SimpleText.h"

#include "base/Numerics.h"
#include "base/WidthConversions.h"
#include "objects/Stroke.h"
#include "platform/RecordingCanvas.h"

#include <QTransform>

#include <cmath>
#include <limits>

namespace vellum {

QString EmptyTextPlaceholder() { return QStringLiteral("未入力項目"); }

// The text's lines, telling the text when they change.
class TSimpleText::TNotifyingLines : public TStringList {
public:
    explicit TNotifyingLines(TSimpleText& owner) : FOwner(owner) {}

protected:
    void Changed() override { FOwner.TextChanged(); }

private:
    TSimpleText& FOwner;
};

const TClassInfo& TSimpleText::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TSimpleText, TPersistent>("TSimpleText", [](auto& b) {
        b.Owned(QStringLiteral("Text"), TPropKind::StringList,
                [](const TSimpleText& t) { return &t.Text(); });
        b.Owned(QStringLiteral("Font"), TPropKind::Object, [](const TSimpleText& t) { return &t.Font(); });
        b.Integer(QStringLiteral("Align"), &TSimpleText::Align, &TSimpleText::SetAlign);
        b.Boolean(QStringLiteral("Vertical"), &TSimpleText::Vertical, &TSimpleText::SetVertical);
        b.Integer(QStringLiteral("CharSpacing"), &TSimpleText::CharSpacing, &TSimpleText::SetCharSpacing);
        b.Integer(QStringLiteral("LineSpacing"), &TSimpleText::LineSpacing, &TSimpleText::SetLineSpacing);
        b.Integer(QStringLiteral("Bulge"), &TSimpleText::Bulge, &TSimpleText::SetBulge);
        b.Integer(QStringLiteral("Angle"), &TSimpleText::Angle, &TSimpleText::SetAngle);
        b.Boolean(QStringLiteral("HanToZen"), &TSimpleText::HanToZen, &TSimpleText::SetHanToZen);
        b.Boolean(QStringLiteral("NumToKnj"), &TSimpleText::NumToKnj, &TSimpleText::SetNumToKnj);
        b.Boolean(QStringLiteral("MinusExc"), &TSimpleText::MinusExc, &TSimpleText::SetMinusExc);
        b.Integer(QStringLiteral("FeedAngle"), &TSimpleText::FeedAngle, &TSimpleText::SetFeedAngle)
            .Default(int64_t(0));
    });
    return info;
}

TSimpleText::TSimpleText()
    : FText(std::make_unique<TNotifyingLines>(*this)), FFont(std::make_unique<TPointBasedFont>()) {
    FFont->OnChange = [this] { FontChanged(); };
}

TSimpleText::~TSimpleText() { FFont->OnChange = nullptr; }

void TSimpleText::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0 && FChangeCount > 0) {
        FChangeCount = 0;
        if (OnChange) OnChange(*this);
    }
}

void TSimpleText::Changed() {
    ++FChangeCount;
    BeginUpdate();
    EndUpdate();
}

void TSimpleText::TextChanged() {
    EmptyLayout();
    ClearConverted();
    Changed();
}

void TSimpleText::FontChanged() {
    EmptyLayout();
    Changed();
}

void TSimpleText::SetText(const TStringList& text) {
    if (FText->Items() == text.Items()) return;
    FText->SetItems(text.Items());
}

void TSimpleText::SetFont(const TFont& font) { FFont->Assign(&font); }

namespace {

template <class T>
bool Store(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

void TSimpleText::SetAlign(int32_t align) {
    if (Store(FAlign, align)) Changed();
}
void TSimpleText::SetAngle(int32_t angle) {
    if (Store(FAngle, angle)) Changed();
}
void TSimpleText::SetBulge(int32_t bulge) {
    if (Store(FBulge, bulge)) Changed();
}
void TSimpleText::SetLineSpacing(int32_t spacing) {
    if (Store(FLineSpacing, spacing)) Changed();
}
void TSimpleText::SetFeedAngle(int32_t angle) {
    if (Store(FFeedAngle, angle)) Changed();
}
void TSimpleText::SetCharSpacing(int32_t spacing) {
    if (!Store(FCharSpacing, spacing)) return;
    EmptyLayout();
    Changed();
}
void TSimpleText::SetVertical(bool vertical) {
    if (!Store(FVertical, vertical)) return;
    EmptyLayout();
    Changed();
}
void TSimpleText::SetHanToZen(bool value) {
    if (!Store(FHanToZen, value)) return;
    ClearConverted();
    EmptyLayout();
    Changed();
}
void TSimpleText::SetNumToKnj(bool value) {
    if (!Store(FNumToKnj, value)) return;
    ClearConverted();
    EmptyLayout();
    Changed();
}
void TSimpleText::SetMinusExc(bool value) {
    if (!Store(FMinusExc, value)) return;
    ClearConverted();
    EmptyLayout();
    Changed();
}

QStringList TSimpleText::DisplayLines() const {
    if (FText->Count() == 0) return {EmptyTextPlaceholder()};
    if (!FHanToZen && !FNumToKnj) return FText->Items();
    if (FConverted.isEmpty()) {
        QStringList lines = FText->Items();
        for (QString& line : lines) {
            if (FHanToZen) line = HalfToFullWidth(line, FMinusExc ? QChar(u'-') : QChar());
            if (FNumToKnj) line = DigitsToKanji(line);
        }
        FConverted = lines;
    }
    return FConverted;
}

TFontRequest TSimpleText::MeasureFont() const {
    TFontRequest request = FFont->RequestAt(kMeasureDpi);
    if (FVertical && !request.Face.startsWith(u'@')) request.Face.prepend(u'@');
    return request;
}

int32_t TSimpleText::LineHeight() const { return FontEngine().Metrics(MeasureFont()).Height(); }

void TSimpleText::UpdateLayout() const {
    std::lock_guard guard(FLayoutLock);
    const QStringList lines = DisplayLines();
    if (FLayouts.size() == size_t(lines.size())) return;
    FLayouts.assign(size_t(lines.size()), TCharLayout{});
    const TFontRequest font = MeasureFont();
    for (qsizetype k = 0; k < lines.size(); ++k)
        MeasureLine(font, FLayouts[size_t(k)], lines[k], FCharSpacing, 0, 0);
}

TRect TSimpleText::GetTextRect(const TRect& frame, bool autoSizing) const {
    std::lock_guard guard(FLayoutLock);
    UpdateLayout();
    const int32_t a = FAlign == taJustify && autoSizing ? taStart : FAlign;
    const int32_t h = LineHeight();
    const auto n = int64_t(FLayouts.size());
    const int32_t extent = FVertical ? frame.Height() : frame.Width();
    const int32_t frameStart = FVertical ? frame.Top : frame.Left;
    constexpr int64_t kNone = std::numeric_limits<int64_t>::max();
    int64_t lo = kNone, hi = -kNone;

    double start = 0, step = 0;
    if (FFeedAngle != 0 && (a == taStart || a == taEnd)) {
        const double s = std::sin(-FFeedAngle * M_PI / 180), e = double(h) + FLineSpacing;
        step = s * e;
        if ((a == taStart && s < 0) || (a == taEnd && s >= 0)) start = -s * e * double(n - 1);
    }
    for (int64_t k = 0; k < n; ++k) {
        TCharLayout& line = FLayouts[size_t(k)];
        if (line.Text.isEmpty()) continue;
        TPlacement placed = PlaceChars(line.ABCs, extent, FCharSpacing, a);
        const auto shift = int32_t(RoundHalfEven(start + double(k) * step));
        for (int32_t& p : placed.Positions) p += shift;
        line.Positions = std::move(placed.Positions);
        line.InkLeft = placed.InkLeft + shift;
        line.InkRight = placed.InkRight + shift;
        lo = std::min<int64_t>(lo, int64_t(frameStart) + line.InkLeft);
        hi = std::max<int64_t>(hi, int64_t(frameStart) + line.InkRight);
    }
    const int32_t across = n == 0 ? h : int32_t(n * (int64_t(h) + FLineSpacing) - FLineSpacing);
    const int32_t startSide = FVertical ? frame.Top : frame.Left,
                  endSide = FVertical ? frame.Bottom : frame.Right;
    const auto first = lo == kNone ? startSide : int32_t(lo);
    const auto last = hi == -kNone ? endSide : int32_t(hi);
    if (n == 0)
        return FVertical ? TRect{frame.Right, frame.Top, frame.Right, frame.Top + h}
                         : TRect{frame.Left, frame.Top, frame.Left, frame.Top + h};
    if (FVertical) return TRect{frame.Right - across, first, frame.Right, last};
    return TRect{first, frame.Top, last, frame.Top + across};
}

void TSimpleText::AddLine(TShapes& shapes, const TCharLayout& line, const QTransform& toCanvas,
                          bool decorations, bool& placeGlyphs) const {
    IFontEngine& engine = FontEngine();
    const TFontRequest font = MeasureFont();
    QPainterPath glyphs, bands;
    for (qsizetype j = 0; j < line.Text.size() && size_t(j) < line.Positions.size(); ++j) {
        const QChar c = line.Text[j];
        if (c == u'\t') continue;
        const QPainterPath outline = engine.Outline(font, c.unicode());
        if (outline.isEmpty()) continue;
        const QTransform atPen = QTransform::fromTranslate(line.Positions[size_t(j)], 0);
        glyphs.addPath(atPen.map(outline));
        TGlyphSource source;
        if (placeGlyphs && engine.GlyphSource(font, c.unicode(), source)) {
            shapes.Placed.push_back(TPlacedGlyph{source.File, source.Family, source.FaceIndex, source.Glyph,
                                                 source.UnitsPerEm, source.DesignToLine * atPen * toCanvas,
                                                 c.unicode()});
        } else {
            placeGlyphs = false;
        }
    }
    const TFontStyles style = FFont->Style();
    if (decorations && (style & (fsUnderline | fsStrikeOut)) && line.InkRight > line.InkLeft) {
        const TFontMetrics m = engine.Metrics(font);
        auto band = [&](int32_t offset, int32_t thickness) {
            bands.addRect(QRectF(line.InkLeft, offset, line.InkRight - line.InkLeft, std::max(1, thickness)));
        };
        if (style & fsUnderline) {
            if (m.HasOutlineMetrics)
                band(m.Ascent - m.UnderlinePosition, m.UnderlineSize);
            else
                band(m.Ascent + m.ExternalLeading, 1);
        }
        if (style & fsStrikeOut) {
            if (m.HasOutlineMetrics)
                band(m.Ascent - m.StrikeOutPosition, m.StrikeOutSize);
            else
                band(MulDiv(m.Ascent, 3, 4) + m.ExternalLeading, 1);
        }
    }
    shapes.Glyphs.addPath(toCanvas.map(glyphs));
    shapes.Bands.addPath(toCanvas.map(bands));
}

TSimpleText::TShapes TSimpleText::Shapes(const TRect& frame, bool decorations, bool placeGlyphs) const {
    std::lock_guard guard(FLayoutLock);
    GetTextRect(frame, false);
    const int32_t h = LineHeight();
    TShapes shapes;
    shapes.Glyphs.setFillRule(Qt::WindingFill);
    shapes.Bands.setFillRule(Qt::WindingFill);
    for (size_t k = 0; k < FLayouts.size(); ++k) {
        const double offset = double(k) * (double(h) + FLineSpacing);
        // Line coordinates run along the writing direction and across from the line's leading edge.
        const QTransform toCanvas = FVertical ? QTransform(0, 1, -1, 0, frame.Right - offset, frame.Top)
                                              : QTransform(1, 0, 0, 1, frame.Left, frame.Top + offset);
        AddLine(shapes, FLayouts[k], toCanvas, decorations && FBulge == 0, placeGlyphs);
    }
    if (!placeGlyphs) shapes.Placed.clear();
    // Text on an arc is laid out by the arc objects; until then it draws straight.
    if (FAngle != 0) {
        const double cx = (frame.Left + frame.Right) / 2, cy = (frame.Top + frame.Bottom) / 2;
        QTransform turn;
        turn.translate(cx, cy);
        turn.rotate(FAngle); // clockwise on the screen, whose y axis points down
        turn.translate(-cx, -cy);
        shapes.Glyphs = turn.map(shapes.Glyphs);
        shapes.Bands = turn.map(shapes.Bands);
        for (TPlacedGlyph& g : shapes.Placed) g.DesignToLogical *= turn;
    }
    return shapes;
}

QPainterPath TSimpleText::TextPath(const TRect& frame, bool decorations) const {
    TShapes shapes = Shapes(frame, decorations, false);
    shapes.Glyphs.addPath(shapes.Bands);
    return shapes.Glyphs;
}

void TSimpleText::Draw(TCanvas& canvas, const TRect& frame) const {
    const TShapes shapes = Shapes(frame, true, canvas.IsPrinter());
    canvas.FillGlyphs(shapes.Glyphs, FTextColor, shapes.Placed.empty() ? nullptr : &shapes.Placed);
    canvas.FillGlyphs(shapes.Bands, FTextColor);
}

void TSimpleText::MakeOutline(TStroke& stroke, const TRect& frame, bool decorations) const {
    TRecordingCanvas surface;
    surface.BeginPath();
    surface.FillGlyphs(TextPath(frame, decorations), FTextColor);
    surface.EndPath();
    stroke.AppendPath(surface);
}

void TSimpleText::Assign(const TPersistent* source) {
    if (const auto* text = dynamic_cast<const TSimpleText*>(source)) {
        text->AssignTo(this);
        return;
    }
    TPersistent::Assign(source);
}

void TSimpleText::AssignTo(TPersistent* dest) const {
    auto* other = dynamic_cast<TSimpleText*>(dest);
    if (!other) {
        TPersistent::AssignTo(dest);
        return;
    }
    other->BeginUpdate();
    other->SetText(*FText);
    other->SetFont(*FFont);
    other->SetAlign(FAlign);
    other->SetVertical(FVertical);
    other->SetCharSpacing(FCharSpacing);
    other->SetLineSpacing(FLineSpacing);
    other->SetBulge(FBulge);
    other->SetAngle(FAngle);
    other->SetHanToZen(FHanToZen);
    other->SetNumToKnj(FNumToKnj);
    other->SetMinusExc(FMinusExc);
    other->FConverted = FConverted;
    other->SetFeedAngle(FFeedAngle);
    other->FTextColor = FTextColor;
    other->EndUpdate();
}

} // namespace vellum
