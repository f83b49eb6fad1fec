#include "base/Guid.h"

#include <QStringList>
#include <QUuid>

namespace vellum {

QString TGUID::ToString() const {
    QString s = QStringLiteral("{%1-%2-%3-")
                    .arg(D1, 8, 16, QChar(u'0'))
                    .arg(D2, 4, 16, QChar(u'0'))
                    .arg(D3, 4, 16, QChar(u'0'));
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

QByteArray TGUID::ToBytes() const {
    QByteArray out(16, '\0');
    auto* b = reinterpret_cast<unsigned char*>(out.data());
    for (int i = 0; i < 4; ++i) b[i] = uint8_t(D1 >> (8 * i));
    b[4] = uint8_t(D2);
    b[5] = uint8_t(D2 >> 8);
    b[6] = uint8_t(D3);
    b[7] = uint8_t(D3 >> 8);
    for (size_t i = 0; i < 8; ++i) b[8 + i] = D4[i];
    return out;
}

std::optional<TGUID> TGUID::FromBytes(QByteArrayView bytes) {
    if (bytes.size() != 16) return std::nullopt;
    auto b = [&](int i) { return uint8_t(bytes[i]); };
    TGUID g;
    g.D1 = uint32_t(b(0)) | (uint32_t(b(1)) << 8) | (uint32_t(b(2)) << 16) | (uint32_t(b(3)) << 24);
    g.D2 = uint16_t(b(4) | (b(5) << 8));
    g.D3 = uint16_t(b(6) | (b(7) << 8));
    for (int i = 0; i < 8; ++i) g.D4[size_t(i)] = b(8 + i);
    return g;
}

TGUID CreateGUID() {
    const QUuid u = QUuid::createUuid();
    TGUID g;
    g.D1 = u.data1;
    g.D2 = u.data2;
    g.D3 = u.data3;
    for (size_t i = 0; i < 8; ++i) g.D4[i] = u.data4[i];
    return g;
}

} // namespace vellum
