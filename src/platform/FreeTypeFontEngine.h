#pragma once
// The font engine over fontconfig (which faces are installed and where),
// FreeType (metrics and outlines in design units) and HarfBuzz (the vertical
// forms of a face's 'vert' substitutions).

#include "platform/FontEngine.h"

#include <memory>
#include <mutex>

namespace vellum {

class TFreeTypeFontEngine : public IFontEngine {
public:
    TFreeTypeFontEngine();
    ~TFreeTypeFontEngine() override;

    QStringList FaceNames() override;
    bool IsInstalled(const QString& face) override;
    int Charset(const QString& face) override;
    QString Resolve(const QString& face) override;
    TFontMetrics Metrics(const TFontRequest& request) override;
    TABC CharABC(const TFontRequest& request, char32_t c) override;
    QPainterPath Outline(const TFontRequest& request, char32_t c) override;
    bool GlyphSource(const TFontRequest& request, char32_t c, TGlyphSource& source) override;

    // The faces and caches, defined beside the engine.
    struct TImpl;

private:
    std::mutex FLock;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace vellum
