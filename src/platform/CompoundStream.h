#pragma once
// A TStream over the bytes of a stream element held in memory.

#include "base/Stream.h"
#include "platform/CompoundNode.h"

#include <functional>
#include <memory>

namespace vellum {

class TCompoundStream : public TStream {
public:
    // onChange runs after every change of the bytes.
    TCompoundStream(std::shared_ptr<TCompoundNode> node, bool writable, std::function<void()> onChange = {});

    int64_t Read(void* buffer, int64_t count) override;
    // Raises EOleSysError (STG_E_ACCESSDENIED) on a stream opened for reading only.
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return FNode->Data().size(); }

    bool Writable() const { return FWritable; }
    TCompoundNode& Node() const { return *FNode; }

private:
    void CheckWritable() const;

    std::shared_ptr<TCompoundNode> FNode;
    bool FWritable;
    std::function<void()> FOnChange;
    int64_t FPosition = 0;
};

} // namespace vellum
