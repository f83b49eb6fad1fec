#pragma once
// One comma-separated line as a list of fields: reading past the end gives
// an empty field, writing past the end first pads with empty fields.

#include "base/StringList.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace vellum {

// The fields of a line. Characters 1-31 around fields are skipped, a field
// in double quotes may hold anything (two quotes stand for one; an
// unterminated quote runs to the end), a plain field ends at a comma or a
// control character, a NUL ends the line, and a final comma adds no field.
QStringList ParseCSVLine(QStringView line);
// The line of fields: a field holding a character 0-32, a quote or a comma
// is quoted with inner quotes doubled; a single empty field is "".
QString CSVLine(const QStringList& fields);

class TCSVStringList : public TStringList {
public:
    TCSVStringList() = default;

    // Empty at or beyond the count.
    QString Get(int index) const { return index >= 0 && index < Count() ? Strings(index) : QString(); }
    // Pads with empty fields silently, then sets the field.
    void Put(int index, const QString& value);

    QString Line() const { return CSVLine(Items()); }
    // Takes the fields of a line without announcing the change.
    void SetLineSilently(QStringView line);

    // Hears every change but the silent ones.
    std::function<void()> OnChange;

protected:
    void Changed() override;

private:
    bool FSilent = false;
};

} // namespace vellum
