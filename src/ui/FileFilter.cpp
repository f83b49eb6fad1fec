#include "ui/FileFilter.h"

#include "commands/FileDialogs.h"

#include <QRegularExpression>

namespace vellum {
namespace {

QStringList SplitPatterns(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

bool SamePatterns(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0) return false;
    return true;
}

} // namespace

QList<TFilterItem> ParseFileFilter(const QString& filter) {
    QList<TFilterItem> items;
    if (filter.isEmpty()) return items;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        TFilterItem item{parts[i].trimmed(), SplitPatterns(parts[i + 1])};
        if (item.Patterns.isEmpty()) item.Patterns << QStringLiteral("*");
        items << item;
    }
    return items;
}

QString QtNameFilter(const TFilterItem& item) {
    const QString patterns = item.Patterns.join(u' ');
    if (item.Caption.isEmpty()) return patterns;
    // Qt takes the patterns from the last parentheses and splits them at blanks only.
    const qsizetype open = item.Caption.lastIndexOf(u'(');
    if (open >= 0 && item.Caption.endsWith(u')')) {
        const QString inside = item.Caption.mid(open + 1, item.Caption.size() - open - 2);
        if (SamePatterns(SplitPatterns(inside), item.Patterns))
            return item.Caption.left(open + 1) + SplitPatterns(inside).join(u' ') + u')';
    }
    return item.Caption + QStringLiteral(" (") + patterns + u')';
}

QStringList QtNameFilters(const QString& filter) {
    QStringList filters;
    for (const TFilterItem& item : ParseFileFilter(filter)) filters << QtNameFilter(item);
    return filters;
}

QString FilterExtension(const QString& filter, int filterIndex) {
    const QList<TFilterItem> items = ParseFileFilter(filter);
    if (filterIndex < 1 || filterIndex > items.size()) return QString();
    const QStringList& patterns = items[filterIndex - 1].Patterns;
    if (patterns.size() != 1 || !patterns[0].startsWith(QStringLiteral("*."))) return QString();
    const QString ext = patterns[0].mid(2);
    static const QRegularExpression plain(QStringLiteral("^[^*?.\\[\\]]+$"));
    return plain.match(ext).hasMatch() ? ext : QString();
}

QString DefaultExtension(const TFileDialogRequest& request, int filterIndex) {
    if (request.DefaultExtFromFilter) {
        const QString ext = FilterExtension(request.Filter, filterIndex);
        if (!ext.isEmpty()) return ext;
    }
    QString ext = request.DefaultExt;
    if (ext.startsWith(u'.')) ext.remove(0, 1);
    return ext;
}

QString CompleteExtension(const QString& fileName, const QString& ext) {
    if (fileName.isEmpty() || ext.isEmpty() || fileName.endsWith(u'/')) return fileName;
    const QString last = fileName.mid(fileName.lastIndexOf(u'/') + 1);
    if (last.contains(u'.')) return fileName;
    return fileName + u'.' + ext;
}

} // namespace vellum
