#pragma once
// The font services text layout needs: installed outline faces, their
// metrics in the conventions the layout expects (unhinted design units
// scaled to the requested pixel size, cell height from the Windows ascent and
// descent), per-character A/B/C widths and glyph outlines, horizontally and
// for vertical writing. A face name beginning with "@" is the vertical
// variant of the face: characters that are double-byte in cp932 stand upright
// in their vertical forms, the others are turned 90 degrees clockwise.

#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <cstdint>
#include <memory>

namespace vellum {

// A face at a size: the em height in pixels (the negative font height of
// the layout), with synthetic bold or italic where the face has none.
struct TFontRequest {
    QString Face;
    int32_t PixelSize = 0;
    bool Bold = false;
    bool Italic = false;
    bool Vertical() const { return Face.startsWith(u'@'); }
    friend bool operator==(const TFontRequest&, const TFontRequest&) = default;
};

// Leading bearing, ink extent and trailing bearing along the writing
// direction, in pixels; A + B + C is the advance.
struct TABC {
    int32_t A = 0;
    int32_t B = 0;
    int32_t C = 0;
    int32_t Advance() const { return A + B + C; }
    friend bool operator==(const TABC&, const TABC&) = default;
};

// Offsets are from the cell's top edge, in pixels.
struct TFontMetrics {
    int32_t Ascent = 0;
    int32_t Descent = 0;
    int32_t ExternalLeading = 0;
    bool HasOutlineMetrics = false;
    int32_t UnderlinePosition = 0; // above the baseline; negative below
    int32_t UnderlineSize = 0;
    int32_t StrikeOutPosition = 0;
    int32_t StrikeOutSize = 0;
    int32_t Height() const { return Ascent + Descent; }
};

// Where a character's glyph comes from, for targets that embed fonts: the
// font file, the glyph, and where its design units (y up) go in line coordinates.
struct TGlyphSource {
    QString File;
    QString Family;
    int FaceIndex = 0;
    uint32_t Glyph = 0;
    double UnitsPerEm = 0;
    QTransform DesignToLine;
};

// Japanese charset code of a face that covers the Japanese code page.
inline constexpr int kShiftJisCharset = 128;
inline constexpr int kDefaultCharset = 1;
inline constexpr int kAnsiCharset = 0;

class IFontEngine {
public:
    virtual ~IFontEngine() = default;

    // Installed outline faces (every name of each, once) and the "@" variants
    // of the faces with vertical forms, sorted.
    virtual QStringList FaceNames() = 0;
    // Installed under this name (case-insensitive), or its "@" variant exists.
    virtual bool IsInstalled(const QString& face) = 0;
    // kShiftJisCharset for faces covering the Japanese code page.
    virtual int Charset(const QString& face) = 0;
    // The installed face a name draws with: itself, the face a known
    // Windows name stands for, or the system's Japanese default. Keeps "@".
    virtual QString Resolve(const QString& face) = 0;

    virtual TFontMetrics Metrics(const TFontRequest& request) = 0;
    // For a vertical face, measured down the column.
    virtual TABC CharABC(const TFontRequest& request, char32_t c) = 0;
    // The glyph in line coordinates: x along the writing direction from the
    // cell's start, y across it from the line's leading edge (the cell's top
    // for horizontal text, the column's right edge for vertical text), so a
    // horizontal glyph is in plain screen orientation.
    virtual QPainterPath Outline(const TFontRequest& request, char32_t c) = 0;
    // The same glyph as a glyph of its font file; false when the outline is
    // not the file's own (synthetic styles) or the engine has no files.
    virtual bool GlyphSource(const TFontRequest& request, char32_t c, TGlyphSource& source) {
        (void)request, (void)c, (void)source;
        return false;
    }
};

// The engine of the process: the FreeType one unless a test installed
// another. Safe to call from several threads.
IFontEngine& FontEngine();
// Installs an engine (nullptr: back to the default); returns the previous one.
std::unique_ptr<IFontEngine> SetFontEngine(std::unique_ptr<IFontEngine> engine);

// The installed face a Windows face name of documents and templates stands
// for, with the same style (proportional or fixed, gothic or mincho); empty
// when the name is not a known one. Without "@".
QStringList FaceAliases(const QString& windowsFace);

} // namespace vellum
