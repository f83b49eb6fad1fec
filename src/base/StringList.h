#pragma once
// An ordered list of strings with "name=value" access, compared without
// regard to case, and a text form whose lines end in CR LF.

#include "base/Persistent.h"

#include <QString>
#include <QStringList>

namespace vellum {

class TStringList : public TPersistent {
public:
    TStringList() = default;
    explicit TStringList(QStringList lines) : FItems(std::move(lines)) {}

    VELLUM_CLASS(TStringList)

public:
    void Assign(const TPersistent* source) override;

    int Count() const { return int(FItems.size()); }
    const QString& Strings(int index) const { return FItems.at(index); }
    void SetStrings(int index, const QString& s) {
        FItems[index] = s;
        Changed();
    }
    const QStringList& Items() const { return FItems; }
    void SetItems(const QStringList& items) {
        FItems = items;
        Changed();
    }

    int Add(const QString& s);
    void Insert(int index, const QString& s);
    void Delete(int index);
    void Clear() {
        FItems.clear();
        Changed();
    }
    int IndexOf(const QString& s) const;

    // "name=value" lines.
    QString Names(int index) const;
    QString ValueFromIndex(int index) const;
    int IndexOfName(const QString& name) const;
    QString Values(const QString& name) const;
    // Sets the value of name, adding a line when missing; an empty value removes the line.
    void SetValue(const QString& name, const QString& value);

    // Every line followed by CR LF.
    QString Text() const;
    // Splits at CR LF, CR or LF; a final line break adds no empty line.
    void SetText(const QString& text);

protected:
    // Runs after every change of the lines, so lists kept elsewhere can follow.
    virtual void Changed() {}

private:
    QStringList FItems;
};

} // namespace vellum
