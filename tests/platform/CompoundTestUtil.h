#pragma once
// Helpers shared by the compound-file tests: listings to compare trees with
// other readers, and a raw look at the directory our writer produced.

#include "platform/CompoundNode.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QStringList>

#include <ostream>
#include <vector>

namespace vellum::test {

// One line per element: "path<TAB>S|D<TAB>size<TAB>md5", sorted; paths joined with '/'.
// gsf lists an empty storage like an empty stream: emptyStorageAsStream does the same.
inline QStringList ListTree(const TCompoundNode& root, bool emptyStorageAsStream = false) {
    QStringList lines;
    std::vector<std::pair<const TCompoundNode*, QString>> work{{&root, QString()}};
    while (!work.empty()) {
        auto [node, path] = work.back();
        work.pop_back();
        for (const auto& [key, child] : node->Children()) {
            const QString p = path.isEmpty() ? child->Name() : path + u'/' + child->Name();
            if (child->IsStream() || (emptyStorageAsStream && child->ChildCount() == 0)) {
                lines << QStringLiteral("%1\tS\t%2\t%3")
                             .arg(p)
                             .arg(child->Data().size())
                             .arg(QString::fromLatin1(
                                 QCryptographicHash::hash(child->Data(), QCryptographicHash::Md5).toHex()));
            } else {
                lines << QStringLiteral("%1\tD").arg(p);
                work.emplace_back(child.get(), p);
            }
        }
    }
    lines.sort();
    return lines;
}

inline QByteArray Pattern(qsizetype size, int seed) {
    QByteArray b(size, Qt::Uninitialized);
    uint32_t x = uint32_t(seed) * 2654435761u + 1;
    for (qsizetype i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        b[i] = char(x >> 24);
    }
    return b;
}

// A small version 4 file written by hand (see CompoundFileTest.cpp).
QByteArray HandMadeV4();

} // namespace vellum::test
