#pragma once
// The character conversions between half-width and full-width forms and
// from hiragana to katakana that normalise text for display and for sort
// and search keys. Tables pair characters by position; a character is looked
// up by its first occurrence in a table's source row.

#include <QString>
#include <QStringView>

namespace vellum {

// Single-byte characters (ASCII and half-width katakana, with a following
// voiced or semi-voiced mark taken as a pair) become their full-width forms;
// double-byte characters and the character equal to except are copied.
QString HalfToFullWidth(const QString& s, QStringView except = {});
// Full-width hiragana become the katakana at the same place in the tables.
QString HiraganaToKatakana(const QString& s);

} // namespace vellum
