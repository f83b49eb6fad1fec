#include "platform/CompoundStream.h"

#include "base/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace vellum {

TCompoundStream::TCompoundStream(std::shared_ptr<TCompoundNode> node, bool writable,
                                 std::function<void()> onChange)
    : FNode(std::move(node)), FWritable(writable), FOnChange(std::move(onChange)) {}

void TCompoundStream::CheckWritable() const {
    if (!FWritable)
        throw EOleSysError(QStringLiteral("The stream is open for reading only"), stg::kAccessDenied);
}

int64_t TCompoundStream::Read(void* buffer, int64_t count) {
    const QByteArray& data = FNode->Data();
    if (count <= 0 || FPosition >= data.size()) return 0;
    const int64_t n = std::min<int64_t>(count, data.size() - FPosition);
    std::memcpy(buffer, data.constData() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

int64_t TCompoundStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    CheckWritable();
    QByteArray& data = FNode->Data();
    const int64_t end = FPosition + count;
    if (end > int64_t(INT32_MAX))
        throw EOleSysError(QStringLiteral("The stream would be too large"), stg::kMediumFull);
    if (end > data.size()) data.resize(qsizetype(end), '\0');
    std::memcpy(data.data() + FPosition, buffer, size_t(count));
    FPosition = end;
    if (FOnChange) FOnChange();
    return count;
}

int64_t TCompoundStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int64_t base = origin == TSeekOrigin::soBeginning ? 0
                         : origin == TSeekOrigin::soCurrent ? FPosition
                                                            : int64_t(FNode->Data().size());
    FPosition = std::max<int64_t>(0, base + offset);
    return FPosition;
}

void TCompoundStream::SetSize(int64_t newSize) {
    CheckWritable();
    if (newSize < 0 || newSize > int64_t(INT32_MAX))
        throw EOleSysError(QStringLiteral("The stream size is out of range"), stg::kMediumFull);
    FNode->Data().resize(qsizetype(newSize), '\0');
    if (FOnChange) FOnChange();
}

} // namespace vellum
