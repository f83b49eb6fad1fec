#include "base/Guid.h"

namespace vellum {

QString TGUID::ToString() const {
    QString s = QStringLiteral("{%1-%2-%3-").arg(D1, 8, 16, QChar(u'0')).arg(D2, 4, 16, QChar(u'0')).arg(D3, 4, 16, QChar(u'0'));
    for (int i = 0; i < 8; ++i) {
        if (i == 2) s += u'-';
        s += QStringLiteral("%1").arg(D4[size_t(i)], 2, 16, QChar(u'0'));
    }
    return s.toUpper() + u'}';
}

std::optional<TGUID> TGUID::FromString(const QString& text) {
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}') return std::nullopt;
    const QString body = text.mid(1, 36);
    const QStringList parts = body.split(u'-');
    if (parts.size() != 5 || parts[0].size() != 8 || parts[1].size() != 4 || parts[2].size() != 4 ||
        parts[3].size() != 4 || parts[4].size() != 12)
        return std::nullopt;
    bool ok = true;
    auto num = [&](const QString& s) {
        bool good = false;
        for (QChar c : s)
            if (!c.isDigit() && !(c.toUpper() >= u'A' && c.toUpper() <= u'F')) ok = false;
        uint v = s.toUInt(&good, 16);
        ok = ok && good;
        return v;
    };
    TGUID g;
    g.D1 = num(parts[0]);
    g.D2 = uint16_t(num(parts[1]));
    g.D3 = uint16_t(num(parts[2]));
    const QString tail = parts[3] + parts[4];
    for (int i = 0; i < 8; ++i) g.D4[size_t(i)] = uint8_t(num(tail.mid(2 * i, 2)));
    if (!ok) return std::nullopt;
    return g;
}

} // namespace vellum
