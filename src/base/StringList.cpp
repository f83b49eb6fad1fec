#include "base/StringList.h"

#include "base/Filer.h"

namespace vellum {

const TClassInfo& TStringList::StaticClass() {
    // Streams keep the lines as the defined property "Strings", a list of strings.
    static const TClassInfo info = TClassInfo::Make<TStringList, TPersistent>("TStringList", [](auto& b) {
        TDefinedProperty strings;
        strings.Name = QStringLiteral("Strings");
        strings.ReadData = [](TPersistent& o, TReader& r) {
            auto& list = static_cast<TStringList&>(o);
            QStringList lines;
            r.ReadListBegin();
            while (!r.EndOfList()) lines << r.ReadString();
            r.ReadListEnd();
            list.SetItems(lines);
        };
        strings.WriteData = [](const TPersistent& o, TWriter& w) {
            w.WriteListBegin();
            for (const QString& line : static_cast<const TStringList&>(o).Items()) w.WriteString(line);
            w.WriteListEnd();
        };
        strings.HasData = [](const TPersistent& o) { return static_cast<const TStringList&>(o).Count() > 0; };
        b.Defined(std::move(strings));
    });
    return info;
}

void TStringList::Assign(const TPersistent* source) {
    if (auto other = dynamic_cast<const TStringList*>(source)) {
        FItems = other->FItems;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

int TStringList::Add(const QString& s) {
    FItems.append(s);
    Changed();
    return int(FItems.size()) - 1;
}

void TStringList::Insert(int index, const QString& s) {
    FItems.insert(index, s);
    Changed();
}

void TStringList::Delete(int index) {
    FItems.removeAt(index);
    Changed();
}

int TStringList::IndexOf(const QString& s) const {
    for (int i = 0; i < FItems.size(); ++i)
        if (FItems[i].compare(s, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TStringList::Names(int index) const {
    const QString& line = FItems.at(index);
    int eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq);
}

QString TStringList::ValueFromIndex(int index) const {
    const QString& line = FItems.at(index);
    int eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

int TStringList::IndexOfName(const QString& name) const {
    for (int i = 0; i < FItems.size(); ++i) {
        const QString& line = FItems[i];
        int eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

QString TStringList::Values(const QString& name) const {
    int i = IndexOfName(name);
    return i < 0 ? QString() : ValueFromIndex(i);
}

void TStringList::SetValue(const QString& name, const QString& value) {
    int i = IndexOfName(name);
    if (value.isEmpty()) {
        if (i >= 0) {
            FItems.removeAt(i);
            Changed();
        }
        return;
    }
    if (i < 0)
        FItems.append(name + u'=' + value);
    else
        FItems[i] = name + u'=' + value;
    Changed();
}

QString TStringList::Text() const {
    QString out;
    for (const QString& s : FItems) {
        out += s;
        out += QStringLiteral("\r\n");
    }
    return out;
}

void TStringList::SetText(const QString& text) {
    FItems.clear();
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            FItems.append(text.mid(start, i - start));
            if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) FItems.append(text.mid(start));
    Changed();
}

} // namespace vellum
