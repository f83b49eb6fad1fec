#pragma once
// An array of numbered streams in a compound file, addressed by position. The
// "Index" stream maps positions to ids; each position's stream is named by its
// id in 8 upper-case hexadecimal digits and keeps that name for its whole life.
// "LastID" holds the next id to hand out.

#include "core/ArrayData.h"
#include "core/Storage.h"

#include <QString>

#include <memory>
#include <vector>

namespace vellum {

class TStreamArray {
public:
    TStreamArray() = default;
    // Writes the bookkeeping and commits the file; errors are lost here, call Close to see them.
    ~TStreamArray();
    TStreamArray(const TStreamArray&) = delete;
    TStreamArray& operator=(const TStreamArray&) = delete;

    // A file the array creates gets newFileMode (-1: as the umask leaves it).
    void Open(const QString& fileName, int newFileMode = -1);
    // Writes "LastID" and "Index", commits and releases the file.
    void Close();
    // Writes the file as it is now, atomically; the array stays open.
    void Commit();
    bool Active() const { return FStorage != nullptr; }

    int Count();
    // The stream of position i, created when new; it stays open until the next
    // Stream, the Delete of its position, Clear, Open or Close.
    TStream& Stream(int i);
    QString StreamName(int i);
    // Nothing for a position past the end.
    void Delete(int i);
    void Move(int from, int to);
    // Position k takes what was at positions[k]; positions must hold every
    // position once. The element streams are not touched.
    void Reorder(const std::vector<int>& positions);
    // Destroys every stream of the file and starts the ids again at 0.
    void Clear();
    int32_t NextID() const { return FNextID; }

    static QString IdName(int32_t id);

private:
    void CheckOpen() const;
    void Ensure(int i);
    void CloseElement();
    void WriteLastID();
    void WriteIndex();
    // Replaces the stream's bytes; equal bytes leave the file unchanged.
    void WriteWhole(const QString& name, const QByteArray& bytes);

    std::unique_ptr<TStorage> FStorage;
    int32_t FNextID = 0;
    TIntArray FIndex;
    std::unique_ptr<TStream> FElement;
    QString FElementName;
};

// The form the profile database uses; it adds nothing.
class TStreamArrayEx : public TStreamArray {};

} // namespace vellum
