#pragma once
// 16-byte identifiers of notifications and capabilities, written as text in
// the registry form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace vellum {

struct TGUID {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    std::array<uint8_t, 8> D4{};

    friend bool operator==(const TGUID&, const TGUID&) = default;
    QString ToString() const;
    static std::optional<TGUID> FromString(const QString& text);
    // The 16-byte binary form: D1, D2, D3 little-endian, then D4.
    QByteArray ToBytes() const;
    // Nothing unless bytes holds exactly 16 bytes.
    static std::optional<TGUID> FromBytes(QByteArrayView bytes);
};

// A new random identifier.
TGUID CreateGUID();

// A compile-time constant from its text form.
consteval TGUID MakeGUID(const char (&s)[39]) {
    auto hex = [](char c) -> uint32_t {
        return c >= '0' && c <= '9'   ? uint32_t(c - '0')
               : c >= 'A' && c <= 'F' ? uint32_t(c - 'A' + 10)
               : c >= 'a' && c <= 'f' ? uint32_t(c - 'a' + 10)
                                      : throw "bad GUID digit";
    };
    auto field = [&](int at, int digits) {
        uint32_t v = 0;
        for (int i = 0; i < digits; ++i) v = v * 16 + hex(s[at + i]);
        return v;
    };
    if (s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' || s[37] != '}')
        throw "bad GUID";
    TGUID g;
    g.D1 = field(1, 8);
    g.D2 = uint16_t(field(10, 4));
    g.D3 = uint16_t(field(15, 4));
    g.D4[0] = uint8_t(field(20, 2));
    g.D4[1] = uint8_t(field(22, 2));
    for (int i = 0; i < 6; ++i) g.D4[2 + i] = uint8_t(field(25 + 2 * i, 2));
    return g;
}

} // namespace vellum
