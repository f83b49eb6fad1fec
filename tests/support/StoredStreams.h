#pragma once
// Every stream of a compound file by its path ("Storage\\Stream"), for
// comparing saved documents stream by stream.

#include "base/StringList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>

namespace vellum::test {

inline QMap<QString, QByteArray> StreamsOf(const QString& fileName) {
    TTemporaryStorage root;
    root.LoadFromFile(fileName);
    QMap<QString, QByteArray> out;
    std::function<void(TDocStorage&)> walk = [&](TDocStorage& storage) {
        TStringList streams;
        storage.GetStreamNames(streams);
        for (const QString& name : streams.Items()) {
            TDocStream stream(storage, 0, name);
            out.insert(storage.Path().isEmpty() ? name : storage.Path() + u'\\' + name, stream.ReadAll());
        }
        TStringList storages;
        storage.GetStorageNames(storages);
        for (const QString& name : storages.Items()) {
            TDocStorage child(storage, false, name);
            walk(child);
        }
    };
    walk(root);
    return out;
}

} // namespace vellum::test
