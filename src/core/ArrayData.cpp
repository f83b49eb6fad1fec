#include "core/ArrayData.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <cstring>

namespace vellum {

const TClassInfo& TArrayData::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TArrayData, TPersistent>("TArrayData", [](auto&) {});
    return info;
}

const TClassInfo& TIntArray::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TIntArray, TPersistent>("TIntArray", [](auto&) {});
    return info;
}
namespace {

const QString kReadError = QStringLiteral("ストリームの読み込みエラー");

[[noreturn]] void IndexError(int64_t i) {
    throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
}

} // namespace

void TArrayData::Resize(int64_t bytes) {
    if (bytes < 0 || bytes > int64_t(INT32_MAX)) IndexError(bytes / std::max<int64_t>(FElementSize, 1));
    FBlock.resize(size_t(bytes), '\0');
}

void* TArrayData::Items(int i) {
    if (i < 0) return nullptr;
    if (int64_t(FBlock.size()) < FElementSize) Resize(FElementSize);
    if (i >= FCount) {
        if (i == INT32_MAX) IndexError(i);
        SetCount(i + 1);
    }
    return FBlock.data() + int64_t(i) * FElementSize;
}

void TArrayData::SetElementSize(int n) {
    if (n <= 0 || n == FElementSize) return;
    FElementSize = n;
    FBlock.clear();
    Resize(FCount == 0 ? int64_t(n) : int64_t(n) * FCount);
}

void TArrayData::SetCount(int n) {
    if (n <= 0) {
        FBlock.assign(size_t(FElementSize), '\0');
        FCount = 0;
        return;
    }
    const int64_t bytes = int64_t(n) * FElementSize;
    // Shrinking clears the bytes left behind, so growing again finds zeros.
    if (bytes < int64_t(FBlock.size())) std::memset(FBlock.data() + bytes, 0, FBlock.size() - size_t(bytes));
    Resize(std::max<int64_t>(bytes, FElementSize));
    FCount = n;
}

void TArrayData::Clear() {
    FBlock.clear();
    FCount = 0;
}

void TArrayData::Delete(int i) {
    if (FCount <= 0 || i < 0 || i >= FCount) return;
    char* p = FBlock.data();
    const size_t size = size_t(FElementSize);
    std::memmove(p + i * size, p + (i + 1) * size, (size_t(FCount) - size_t(i) - 1) * size);
    std::memset(p + (size_t(FCount) - 1) * size, 0, size);
    --FCount;
}

void TArrayData::Insert(int i) {
    if (i < 0) return;
    if (i > FCount) SetCount(i);
    SetCount(FCount + 1);
    char* p = FBlock.data();
    const size_t size = size_t(FElementSize);
    std::memmove(p + (i + 1) * size, p + i * size, (size_t(FCount) - size_t(i) - 1) * size);
    std::memset(p + i * size, 0, size);
}

void TArrayData::Move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= FCount) return;
    std::vector<char> element(FBlock.begin() + int64_t(from) * FElementSize,
                              FBlock.begin() + int64_t(from + 1) * FElementSize);
    Delete(from);
    Insert(to);
    std::memcpy(FBlock.data() + int64_t(to) * FElementSize, element.data(), element.size());
}

void TArrayData::Assign(const TPersistent* source) {
    if (auto other = dynamic_cast<const TArrayData*>(source)) {
        FElementSize = other->FElementSize;
        FCount = other->FCount;
        FBlock = other->FBlock;
        return;
    }
    TPersistent::Assign(source);
}

void TArrayData::SaveToStream(TStream& stream) const {
    WriteI32(stream, FElementSize);
    WriteI32(stream, FCount);
    stream.WriteBuffer(FBlock.data(), int64_t(FElementSize) * FCount);
}

void TArrayData::LoadFromStream(TStream& stream) {
    Clear();
    const int32_t size = ReadI32(stream);
    const int32_t count = ReadI32(stream);
    if (size < 0 || count < 0 || int64_t(size) * count > stream.Remaining()) throw EReadError(kReadError);
    if (count == 0) {
        // Nothing is allocated for an element size the data does not back.
        if (size > 0) FElementSize = size;
        return;
    }
    SetElementSize(size);
    SetCount(count);
    stream.ReadBuffer(FBlock.data(), int64_t(size) * count);
}

TIntArray::TIntArray() { FData.SetElementSize(4); }

void TIntArray::Assign(const TPersistent* source) {
    if (auto other = dynamic_cast<const TIntArray*>(source)) {
        FData.Assign(&other->FData);
        return;
    }
    TPersistent::Assign(source);
}

int32_t TIntArray::Get(int i) {
    const void* p = FData.Items(i);
    return p ? int32_t(GetLE32(p)) : 0;
}

void TIntArray::Put(int i, int32_t value) {
    if (void* p = FData.Items(i)) PutLE32(p, uint32_t(value));
}

void TIntArray::SetCount(int n) { FData.SetCount(n); }

int TIntArray::GetCount() const { return FData.Count(); }

void TIntArray::SaveToStream(TStream& stream) const { FData.SaveToStream(stream); }

void TIntArray::LoadFromStream(TStream& stream) {
    TArrayData data;
    data.LoadFromStream(stream);
    if (data.ElementSize() != 4) throw EReadError(kReadError);
    FData.Assign(&data);
}

} // namespace vellum
