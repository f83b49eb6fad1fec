#include "appframe/MacroString.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <QScopeGuard>

namespace vellum {

const TClassInfo& TMacroString::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TMacroString, TStringList>("TMacroString", [](auto&) {});
    return info;
}

QString TMacroString::Strip(const QString& value) const {
    if (FStripQuotes && value.size() > 1 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

void TMacroString::SetDefault(const QString& name, const QString& value) {
    if (Values(name).isEmpty()) SetValue(name, value);
}

QString TMacroString::Expand(const QString& text) {
    QString out;
    int depth = 0;
    int open = 0; // index of the outermost "("
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'$' && i + 1 < n && text[i + 1] == u'(') {
            if (depth == 0) open = i + 1;
            ++depth;
            ++i;
            continue;
        }
        if (depth == 0) {
            out += c;
            continue;
        }
        if (c == u')' && --depth == 0) {
            const QString inner = text.mid(open + 1, i - open - 1);
            if (inner.isEmpty())
                throw EMacroString(
                    Format(QStringLiteral("%sの%d文字目から始まるマクロが間違っています"), text, open + 1));
            out += Lookup(inner);
        }
    }
    if (depth > 0)
        throw EMacroString(
            Format(QStringLiteral("%sの%d文字目から始まるマクロが閉じていません"), text, open + 1));
    return Strip(out);
}

QString TMacroString::Lookup(const QString& nameText) {
    QString name = Expand(nameText);
    QString format;
    if (int colon = name.indexOf(u':'); colon >= 0) {
        format = name.mid(colon + 1, 255);
        name = name.left(colon);
    }
    for (const QString& busy : FExpanding)
        if (busy.compare(name, Qt::CaseInsensitive) == 0)
            throw EMacroString(Format(QStringLiteral("%s マクロが循環参照されています"), name));
    const bool optional = format.compare(QStringLiteral("inessential"), Qt::CaseInsensitive) == 0 ||
                          format.compare(QStringLiteral("unessential"), Qt::CaseInsensitive) == 0;
    QString value;
    {
        FExpanding.append(name);
        const auto expanded = qScopeGuard([this] { FExpanding.removeLast(); });
        value = Values(name);
        if (value.isEmpty() && !optional)
            throw EMacroString(Format(QStringLiteral("未定義の%sマクロが使用されています"), name));
        value = Expand(value);
    }
    value = Strip(value);
    if (format.isEmpty() || optional) return value;
    if (format.compare(QStringLiteral("Drive"), Qt::CaseInsensitive) == 0) return value.left(1);
    // Paths have no short form here: the path itself serves.
    if (format.compare(QStringLiteral("shortPath"), Qt::CaseInsensitive) == 0) return value;
    throw EMacroString(Format(QStringLiteral("未定義のフォーマット指定(%s)が使用されています"), format));
}

} // namespace vellum
