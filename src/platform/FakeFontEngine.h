#pragma once
// A font engine with fixed metrics and box glyphs, for tests that check
// layout arithmetic without depending on the installed fonts. Faces: "Fake"
// and its vertical variant "@Fake"; every other name resolves to "Fake".
// At pixel size p: ascent 4p/5, descent p/5; a character that is
// double-byte in cp932 advances p, others p/2, with A = C = p/10 and the ink
// box between them spanning the cell's height from ascent - 7p/10.

#include "platform/FontEngine.h"

namespace vellum {

class TFakeFontEngine : public IFontEngine {
public:
    QStringList FaceNames() override;
    bool IsInstalled(const QString& face) override;
    int Charset(const QString& face) override;
    QString Resolve(const QString& face) override;
    TFontMetrics Metrics(const TFontRequest& request) override;
    TABC CharABC(const TFontRequest& request, char32_t c) override;
    QPainterPath Outline(const TFontRequest& request, char32_t c) override;
};

} // namespace vellum
