#pragma once
// The named-macro table and its expansion language: "$(Name)" or
// "$(Name:Format)", names compared without regard to case, values expanded
// recursively with a guard against cycles.

#include "base/StringList.h"

#include <QString>
#include <QStringList>

namespace vellum {

class TMacroString : public TStringList {
public:
    VELLUM_CLASS(TMacroString)

public:

    // Raises EMacroString for malformed, unclosed, undefined or circular macros
    // and unknown formats.
    QString Expand(const QString& text);
    QString Lookup(const QString& name);

    bool StripQuotes() const { return FStripQuotes; }
    void SetStripQuotes(bool value) { FStripQuotes = value; }

    // The value of name, or empty.
    QString Value(const QString& name) const { return Values(name); }
    // Sets a value only when the table has none for name.
    void SetDefault(const QString& name, const QString& value);

private:
    QString Strip(const QString& value) const;

    QStringList FExpanding;
    bool FStripQuotes = true;
};

} // namespace vellum
