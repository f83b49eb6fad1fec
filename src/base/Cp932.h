#pragma once
// The one codec between QString and the Japanese code page (cp932) bytes that
// files and streams hold. Decoding is lossless: a byte that does not decode is
// kept as the lone surrogate U+DC00 + byte and encodes back to the same byte.
// Characters the code page has two codes for (NEC-selected IBM extensions)
// encode to the code Windows writes, so the text survives, not always the bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace vellum::cp932 {

QString Decode(QByteArrayView bytes);
// The encoded bytes, or nothing when a character has no cp932 form.
std::optional<QByteArray> TryEncode(const QString& text);
// Encodes or raises EEncodingError naming the first character cp932 lacks.
QByteArray Encode(const QString& text);
// Index of the first character cp932 cannot encode, or -1.
int FirstUnencodable(const QString& text);
inline bool CanEncode(const QString& text) { return FirstUnencodable(text) < 0; }

// The lead-byte test of the code page: 0x81-0x9F and 0xE0-0xFC.
inline bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
// True when the character takes two bytes in cp932.
bool IsDoubleByte(QChar c);
// Number of bytes the text takes in cp932 (unencodable characters count one).
int ByteLength(const QString& text);

} // namespace vellum::cp932
