#include "profile/CSVStringList.h"

#include <QScopedValueRollback>

namespace vellum {
namespace {

bool IsSkipped(QChar c) { return c.unicode() >= 1 && c.unicode() <= 31; }

bool NeedsQuotes(const QString& field) {
    for (const QChar c : field)
        if (c.unicode() <= 32 || c == u'"' || c == u',') return true;
    return false;
}

} // namespace

QStringList ParseCSVLine(QStringView line) {
    // The reader stops at a NUL: past it nothing would ever move on.
    const qsizetype nul = line.indexOf(QChar(0));
    if (nul >= 0) line = line.left(nul);
    QStringList fields;
    qsizetype p = 0;
    const qsizetype n = line.size();
    const auto skip = [&] {
        while (p < n && IsSkipped(line[p])) ++p;
    };
    skip();
    while (p < n) {
        QString field;
        if (line[p] == u'"') {
            ++p;
            while (p < n) {
                if (line[p] == u'"') {
                    if (p + 1 < n && line[p + 1] == u'"') {
                        field += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field += line[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && line[p].unicode() >= 32 && line[p] != u',') ++p;
            field = line.mid(start, p - start).toString();
        }
        fields << field;
        skip();
        if (p < n && line[p] == u',') {
            ++p;
            skip();
        }
    }
    return fields;
}

QString CSVLine(const QStringList& fields) {
    if (fields.size() == 1 && fields[0].isEmpty()) return QStringLiteral("\"\"");
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) line += u',';
        const QString& f = fields[i];
        if (!NeedsQuotes(f)) {
            line += f;
            continue;
        }
        line += u'"';
        line += QString(f).replace(u'"', QStringLiteral("\"\""));
        line += u'"';
    }
    return line;
}

void TCSVStringList::Put(int index, const QString& value) {
    if (index < 0) return;
    {
        const QScopedValueRollback silent(FSilent, true);
        while (Count() <= index) Add(QString());
    }
    SetStrings(index, value);
}

void TCSVStringList::SetLineSilently(QStringView line) {
    const QScopedValueRollback silent(FSilent, true);
    SetItems(ParseCSVLine(line));
}

void TCSVStringList::Changed() {
    if (!FSilent && OnChange) OnChange();
}

} // namespace vellum
