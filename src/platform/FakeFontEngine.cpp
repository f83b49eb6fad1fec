#include "platform/FakeFontEngine.h"

#include "base/Cp932.h"

namespace vellum {
namespace {

bool Wide(char32_t c) { return c <= 0xFFFF && cp932::IsDoubleByte(QChar(char16_t(c))); }

} // namespace

QStringList TFakeFontEngine::FaceNames() { return {QStringLiteral("@Fake"), QStringLiteral("Fake")}; }

bool TFakeFontEngine::IsInstalled(const QString& face) {
    return face.compare(QLatin1String("Fake"), Qt::CaseInsensitive) == 0 ||
           face.compare(QLatin1String("@Fake"), Qt::CaseInsensitive) == 0;
}

int TFakeFontEngine::Charset(const QString& face) {
    return IsInstalled(face) ? kShiftJisCharset : kDefaultCharset;
}

QString TFakeFontEngine::Resolve(const QString& face) {
    return face.startsWith(u'@') ? QStringLiteral("@Fake") : QStringLiteral("Fake");
}

TFontMetrics TFakeFontEngine::Metrics(const TFontRequest& request) {
    const int32_t p = request.PixelSize;
    TFontMetrics m;
    m.Ascent = p * 4 / 5;
    m.Descent = p - m.Ascent;
    m.HasOutlineMetrics = true;
    m.UnderlinePosition = -p / 10;
    m.UnderlineSize = std::max(1, p / 20);
    m.StrikeOutPosition = p / 4;
    m.StrikeOutSize = std::max(1, p / 20);
    return m;
}

TABC TFakeFontEngine::CharABC(const TFontRequest& request, char32_t c) {
    const int32_t p = request.PixelSize;
    const int32_t advance = Wide(c) ? p : p / 2;
    if (c == U' ' || c == 0x3000) return {0, 0, advance};
    return {p / 10, advance - 2 * (p / 10), p / 10};
}

QPainterPath TFakeFontEngine::Outline(const TFontRequest& request, char32_t c) {
    const TABC abc = CharABC(request, c);
    QPainterPath path;
    if (abc.B == 0) return path;
    const int32_t p = request.PixelSize;
    const double top = Metrics(request).Ascent - p * 7 / 10;
    path.addRect(QRectF(abc.A, top, abc.B, p * 7 / 10 + p / 10));
    return path;
}

} // namespace vellum
