#pragma once
// A stream element of a compound file, opened by a path relative to a storage.

#include "base/Stream.h"
#include "core/DocStorage.h"
#include "platform/CompoundStream.h"

#include <memory>

namespace vellum {

class TDocStream : public TStream {
public:
    // Mode -1 creates the stream (replacing a stream of that name) and any
    // missing storages on its path; other modes open an existing stream.
    TDocStream(TDocStorage& storage, int mode, const QString& path);

    int64_t Read(void* buffer, int64_t count) override { return FStream->Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override { return FStream->Write(buffer, count); }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return FStream->Seek(offset, origin); }
    // Moves the position to the new size, then sets the size.
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return FStream->Size(); }

    // The storage that holds the stream.
    TDocStorage& Storage() const { return *FStorage; }
    const QString& Name() const { return FName; }

private:
    std::unique_ptr<TDocStorage> FStorage;
    std::unique_ptr<TCompoundStream> FStream;
    QString FName;
};

} // namespace vellum
