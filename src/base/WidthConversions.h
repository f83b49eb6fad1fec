#pragma once
// Character-width conversions of Japanese text: half-width (single-byte in
// cp932) and full-width (double-byte) forms of symbols, digits, letters and
// kana, used for display (text objects) and for normalised search and sort keys.

#include <QString>

namespace vellum {

// Half-width characters become full-width; `except` (when not null) and
// characters that are already double-byte stay. A half-width kana with a
// voicing mark becomes the voiced kana; a mark the kana cannot take becomes
// the full-width kana followed by the full-width mark.
QString HalfToFullWidth(const QString& s, QChar except = QChar());
// Full-width symbols, digits, letters, hiragana and katakana become their
// half-width forms (voiced kana as kana plus mark); the rest stays.
QString FullToHalfWidth(const QString& s);
QString HiraganaToKatakana(const QString& s);
// Full-width digits become kanji digits (〇一二…九).
QString DigitsToKanji(const QString& s);
// Removes leading and trailing half-width spaces.
QString TrimBlanks(const QString& s);

} // namespace vellum
