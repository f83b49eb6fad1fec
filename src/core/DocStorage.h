#pragma once
// Storages of a compound file addressed by backslash paths relative to a root.
// The whole file lives in memory as a tree of TCompoundNode: a root is loaded
// from its file as a whole and written back as a whole, atomically.

#include "base/StringList.h"
#include "platform/CompoundNode.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace vellum {

// Open modes: low two bits access (0 read, 1 write, 2 read/write), bits 4-7
// sharing (0 compatible, 1 exclusive, 2 deny write, 3 deny read, 4 deny none);
// kModeCreate creates.
constexpr int kModeCreate = -1;

// Structured-storage flags.
namespace stgm {
constexpr uint32_t Read = 0x00;
constexpr uint32_t Write = 0x01;
constexpr uint32_t ReadWrite = 0x02;
constexpr uint32_t ShareExclusive = 0x10;
constexpr uint32_t ShareDenyWrite = 0x20;
constexpr uint32_t ShareDenyRead = 0x30;
constexpr uint32_t ShareDenyNone = 0x40;
constexpr uint32_t Create = 0x1000;
constexpr uint32_t DeleteOnRelease = 0x4000000;
constexpr uint32_t AccessMask = 0x03;
} // namespace stgm

// The flags of an open mode (-1 and 0xFFFF give create + exclusive + read/write).
uint32_t ModeToFlags(int mode);
inline bool FlagsAllowWrite(uint32_t flags) {
    return (flags & stgm::AccessMask) == stgm::Write || (flags & stgm::AccessMask) == stgm::ReadWrite;
}

class TRootStorage;

class TDocStorage {
public:
    // Opens parent's path combined with path; missing storages are created when asked.
    TDocStorage(TDocStorage& parent, bool createMissing, const QString& path);
    virtual ~TDocStorage();
    TDocStorage(const TDocStorage&) = delete;
    TDocStorage& operator=(const TDocStorage&) = delete;

    // Relative to the root, components separated by "\"; empty for the root.
    const QString& Path() const { return FPath; }
    TRootStorage& Root() const { return *FRoot; }
    TCompoundNode& Handle() const { return *FChain.back(); }

    bool StreamExists(const QString& path);
    bool StorageExists(const QString& path);
    // False when the element does not exist.
    bool DeleteElement(const QString& path);
    void MoveElement(const QString& fromPath, const QString& toPath);
    void GetStorageNames(TStringList& list) const;
    void GetStreamNames(TStringList& list) const;
    // Copies every element into dest: a stream of the same name is replaced,
    // a storage of the same name receives the elements (merged).
    void CopyTo(TDocStorage& dest);

protected:
    // The root's own view of itself.
    explicit TDocStorage(TRootStorage& root);
    // Splits a path relative to this storage into its directory (relative to the root) and name.
    void SplitElementPath(const QString& path, QString& directory, QString& name) const;
    void ResetChain(std::shared_ptr<TCompoundNode> tree);

private:
    friend class TRootStorage;
    void OpenChain(bool createMissing);

    TRootStorage* FRoot;
    QString FPath;
    QStringList FComponents;
    // From the root's tree down to this storage.
    std::vector<std::shared_ptr<TCompoundNode>> FChain;
};

class TRootStorage : public TDocStorage {
public:
    TRootStorage(std::shared_ptr<TCompoundNode> tree, int mode);
    ~TRootStorage() override;

    // Flags children are opened with: those of the mode, write-only made read/write.
    uint32_t DefaultFlags() const { return FDefaultFlags; }
    bool IsWritable() const { return FlagsAllowWrite(FDefaultFlags); }
    // Whether the tree changed since the last stamp.
    bool IsModified() const { return FStampEmpty || FGeneration != FStamp; }
    // Stores the current state as the stamp; with clear set the stamp is emptied,
    // so the root counts as modified until the next stamp.
    void TakeStamp(bool clear = false);
    // Called for every change of the tree.
    void Touch() { ++FGeneration; }
    uint64_t Generation() const { return FGeneration; }
    const std::shared_ptr<TCompoundNode>& Tree() const { return FTree; }
    // Raises EOleSysError (STG_E_ACCESSDENIED) when the root is read-only.
    void CheckWritable() const;

protected:
    void SetDefaultFlags(uint32_t flags) { FDefaultFlags = flags; }
    void ReplaceTree(std::shared_ptr<TCompoundNode> tree);

private:
    friend class TDocStorage;
    std::shared_ptr<TCompoundNode> FTree;
    std::vector<TDocStorage*> FOpenStorages;
    uint32_t FDefaultFlags;
    uint64_t FGeneration = 0;
    uint64_t FStamp = 0;
    bool FStampEmpty = false;
};

// A root on a named file. Changes stay in memory until Commit, which replaces
// the file atomically; a writable root still modified is committed when destroyed.
class TFileStorage : public TRootStorage {
public:
    // Mode -1 creates (or replaces) the file; other modes open it.
    static std::unique_ptr<TFileStorage> OpenFile(const QString& fileName, int mode);
    ~TFileStorage() override;

    const QString& FileName() const { return FFileName; }
    void Commit();

private:
    TFileStorage(std::shared_ptr<TCompoundNode> tree, int mode, QString fileName);
    QString FFileName;
    uint64_t FCommitted;
};

// The working copy of a document: a tree in memory, loaded from a file and
// saved to a file as a whole.
class TTemporaryStorage : public TRootStorage {
public:
    TTemporaryStorage();
    void LoadFromFile(const QString& fileName);
    // The same from a file image in memory.
    void LoadFromImage(QByteArrayView image);
    // Writes a temporary file beside the target and renames it over the target.
    void SaveToFile(const QString& fileName);
};

} // namespace vellum
