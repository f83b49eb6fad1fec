#pragma once
// A growable array of fixed-size records in one memory block, and the same for
// 32-bit integers. Stream format: int32 element size, int32 count, the elements.

#include "base/Persistent.h"
#include "base/Stream.h"

#include <cstdint>
#include <vector>

namespace vellum {

class TArrayData : public TPersistent {
public:
    VELLUM_CLASS(TArrayData)

public:
    void Assign(const TPersistent* source) override;

    // Element i, growing the array to i + 1 elements (zero-filled); none for i < 0.
    void* Items(int i);
    int ElementSize() const { return FElementSize; }
    int Count() const { return FCount; }
    // A new size loses the contents: the block is zero-filled.
    void SetElementSize(int n);
    void SetCount(int n);
    void Clear();
    // Nothing for an index outside the array.
    void Delete(int i);
    // Inserting beyond the end first grows the array with zero elements.
    void Insert(int i);
    // Nothing when from is outside the array.
    void Move(int from, int to);

    virtual void SaveToStream(TStream& stream) const;
    // Raises EReadError when the sizes do not fit the data.
    virtual void LoadFromStream(TStream& stream);

private:
    void Resize(int64_t bytes);

    int32_t FElementSize = 0;
    int32_t FCount = 0;
    // At least FElementSize * FCount bytes; bytes past the elements are zero.
    std::vector<char> FBlock;
};

class TIntArray : public TPersistent {
public:
    TIntArray();
    VELLUM_CLASS(TIntArray)

public:
    void Assign(const TPersistent* source) override;

    // Reading or writing beyond the count grows the array (zero-filled).
    virtual int32_t Get(int i);
    virtual void Put(int i, int32_t value);
    virtual void SetCount(int n);
    virtual int GetCount() const;
    virtual void SaveToStream(TStream& stream) const;
    virtual void LoadFromStream(TStream& stream);
    void Clear() { FData.Clear(); }
    void Move(int from, int to) { FData.Move(from, to); }
    void Delete(int i) { FData.Delete(i); }
    void Insert(int i) { FData.Insert(i); }

private:
    TArrayData FData;
};

} // namespace vellum
