#include "core/PathUtil.h"

#include "base/Exceptions.h"

namespace vellum {

QStringList SplitPath(const QString& path) { return path.split(u'\\', Qt::SkipEmptyParts); }

QString CombinePath(const QString& base, const QString& name) {
    QString b = base, n = name;
    if (b.endsWith(u'\\')) b.chop(1);
    if (n.endsWith(u'\\')) n.chop(1);
    const QStringList input = (n.startsWith(u'\\') ? QStringList() : SplitPath(b)) + SplitPath(n);
    QStringList parts;
    for (const QString& c : input) {
        if (c == u'.') continue;
        if (c == QLatin1String("..")) {
            if (parts.isEmpty()) throw EPathUtil(QStringLiteral("too many \"..\""));
            parts.removeLast();
            continue;
        }
        parts.append(c);
    }
    const QString joined = parts.join(u'\\');
    return base.startsWith(u'\\') ? u'\\' + joined : joined;
}

int SharedComponents(const QStringList& a, const QStringList& b) {
    int n = 0;
    while (n < a.size() && n < b.size() && a[n].compare(b[n], Qt::CaseInsensitive) == 0) ++n;
    return n;
}

} // namespace vellum
