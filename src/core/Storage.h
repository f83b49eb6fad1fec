#pragma once
// One compound file opened by name, with a read-only switch. The tree is held
// in memory and committed to the file whole and atomically.

#include "base/StringList.h"
#include "platform/CompoundNode.h"

#include <QString>

#include <memory>

namespace vellum {

class TStream;

class TStorage {
public:
    // Opens the file when it exists (read-only or read/write), otherwise creates it;
    // a file the storage creates gets newFileMode (-1: as the umask leaves it).
    static std::unique_ptr<TStorage> OpenStorageFile(const QString& fileName, bool readOnly,
                                                     int newFileMode = -1);
    // Commits a writable storage that changed; errors are lost here, so call Commit to see them.
    ~TStorage();
    TStorage(const TStorage&) = delete;
    TStorage& operator=(const TStorage&) = delete;

    bool ReadOnly() const { return FReadOnly; }
    const QString& FileName() const { return FFileName; }
    bool IsModified() const { return FGeneration != FCommitted; }

    // True when a child storage or stream of that name exists.
    bool ElementExists(const QString& name) const;
    // Opens the stream when it exists (read-only or read/write), otherwise creates it.
    // The stream must be released before the storage.
    std::unique_ptr<TStream> OpenStream(const QString& name);
    // Raises EOleSysError also when the element does not exist.
    void DestroyElement(const QString& name);
    void GetStreamNames(TStringList& list) const;
    // Writes the tree to the file when it changed since the last commit.
    void Commit();

private:
    TStorage(std::shared_ptr<TCompoundNode> tree, QString fileName, bool readOnly, int newFileMode);
    void CheckWritable() const;

    std::shared_ptr<TCompoundNode> FTree;
    QString FFileName;
    bool FReadOnly;
    int FNewFileMode;
    uint64_t FGeneration = 0;
    uint64_t FCommitted = 0;
};

} // namespace vellum
