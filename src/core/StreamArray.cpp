#include "core/StreamArray.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <algorithm>

namespace vellum {
namespace {

const QString kLastID = QStringLiteral("LastID");
const QString kIndex = QStringLiteral("Index");

// The id an element name stands for, or -1.
int64_t IdOfName(const QString& name) {
    if (name.size() != 8) return -1;
    bool ok = false;
    const uint32_t id = name.toUInt(&ok, 16);
    return ok && id <= uint32_t(INT32_MAX) ? int64_t(id) : -1;
}

} // namespace

TStreamArray::~TStreamArray() {
    try {
        Close();
    } catch (const Exception&) {
    }
}

QString TStreamArray::IdName(int32_t id) { return Format(QStringLiteral("%8.8x"), uint32_t(id)); }

void TStreamArray::CheckOpen() const {
    if (!FStorage) throw EStreamArray(QStringLiteral("No file is open"));
}

void TStreamArray::CloseElement() {
    FElement.reset();
    FElementName.clear();
}

void TStreamArray::WriteWhole(const QString& name, const QByteArray& bytes) {
    auto s = FStorage->OpenStream(name);
    if (s->Size() == bytes.size() && s->ReadAll() == bytes) return;
    s->SetSize(0);
    s->SetPosition(0);
    s->WriteBytes(bytes);
}

void TStreamArray::WriteLastID() {
    QByteArray bytes(4, '\0');
    PutLE32(bytes.data(), uint32_t(FNextID));
    WriteWhole(kLastID, bytes);
}

void TStreamArray::WriteIndex() {
    TMemoryStream s;
    FIndex.SaveToStream(s);
    WriteWhole(kIndex, s.Data());
}

void TStreamArray::Commit() {
    CheckOpen();
    WriteLastID();
    WriteIndex();
    FStorage->Commit();
}

void TStreamArray::Close() {
    CloseElement();
    if (!FStorage) return;
    WriteLastID();
    WriteIndex();
    FStorage->Commit();
    FStorage.reset();
    FIndex.Clear();
    FNextID = 0;
}

void TStreamArray::Open(const QString& fileName, int newFileMode) {
    Close();
    std::unique_ptr<TStorage> storage = TStorage::OpenStorageFile(fileName, false, newFileMode);
    TIntArray index;
    int64_t next = 0;
    if (storage->ElementExists(kLastID)) {
        auto s = storage->OpenStream(kLastID);
        if (s->Size() >= 4) next = ReadI32(*s);
    }
    if (storage->ElementExists(kIndex)) {
        auto s = storage->OpenStream(kIndex);
        index.LoadFromStream(*s);
    }
    // Files written before "LastID" was kept up to date may lag behind the ids in use.
    for (int i = 0; i < index.GetCount(); ++i) next = std::max<int64_t>(next, int64_t(index.Get(i)) + 1);
    TStringList names;
    storage->GetStreamNames(names);
    for (const QString& name : names.Items()) next = std::max(next, IdOfName(name) + 1);
    if (next > INT32_MAX) throw EStreamArray(QStringLiteral("No stream id is left"));
    FStorage = std::move(storage);
    FIndex.Assign(&index);
    FNextID = int32_t(next);
    WriteLastID();
    WriteIndex();
}

int TStreamArray::Count() { return FIndex.GetCount(); }

void TStreamArray::Ensure(int i) {
    if (i < 0) throw EStreamArray(QStringLiteral("Index < 0"));
    CheckOpen();
    if (FIndex.GetCount() > i) return;
    while (FIndex.GetCount() <= i) {
        if (FNextID == INT32_MAX) throw EStreamArray(QStringLiteral("No stream id is left"));
        FIndex.Put(FIndex.GetCount(), FNextID++);
    }
    // Both at once: an id handed out is never handed out again, and every id is in the index.
    WriteLastID();
    WriteIndex();
}

TStream& TStreamArray::Stream(int i) {
    Ensure(i);
    CloseElement();
    FElementName = IdName(FIndex.Get(i));
    FElement = FStorage->OpenStream(FElementName);
    return *FElement;
}

QString TStreamArray::StreamName(int i) {
    Ensure(i);
    return IdName(FIndex.Get(i));
}

void TStreamArray::Delete(int i) {
    if (i < 0) throw EStreamArray(QStringLiteral("Index < 0"));
    CheckOpen();
    if (i >= FIndex.GetCount()) return;
    const QString name = IdName(FIndex.Get(i));
    if (FElement && FElementName.compare(name, Qt::CaseInsensitive) == 0) CloseElement();
    if (FStorage->ElementExists(name)) FStorage->DestroyElement(name);
    FIndex.Delete(i);
    WriteIndex();
}

void TStreamArray::Move(int from, int to) {
    Ensure(std::max(from, to));
    if (from < 0 || to < 0) throw EStreamArray(QStringLiteral("Index < 0"));
    FIndex.Move(from, to);
    WriteIndex();
}

void TStreamArray::Reorder(const std::vector<int>& positions) {
    CheckOpen();
    const int count = FIndex.GetCount();
    if (int(positions.size()) != count) throw EStreamArray(QStringLiteral("Order does not match the index"));
    std::vector<bool> seen(size_t(count), false);
    TIntArray index;
    index.SetCount(count);
    for (int k = 0; k < count; ++k) {
        const int from = positions[size_t(k)];
        if (from < 0 || from >= count || seen[size_t(from)])
            throw EStreamArray(QStringLiteral("Order does not match the index"));
        seen[size_t(from)] = true;
        index.Put(k, FIndex.Get(from));
    }
    FIndex.Assign(&index);
    WriteIndex();
}

void TStreamArray::Clear() {
    CheckOpen();
    CloseElement();
    TStringList names;
    FStorage->GetStreamNames(names);
    for (const QString& name : names.Items()) FStorage->DestroyElement(name);
    FNextID = 0;
    FIndex.Clear();
    WriteLastID();
    WriteIndex();
}

} // namespace vellum
