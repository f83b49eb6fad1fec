#include "core/DocStorage.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "core/PathUtil.h"
#include "platform/CompoundFile.h"

#include <QFileInfo>

#include <algorithm>

namespace vellum {
namespace {

using TKind = TCompoundNode::TKind;

[[noreturn]] void NotFound(const QString& what) {
    throw EOleSysError(Format(QStringLiteral("\"%s\" was not found"), what), stg::kFileNotFound);
}

// Copies the elements of source into dest, merging storages of the same name.
void MergeInto(const TCompoundNode& source, TCompoundNode& dest) {
    std::vector<std::pair<const TCompoundNode*, TCompoundNode*>> work{{&source, &dest}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        for (const auto& [key, child] : from->Children()) {
            auto existing = to->Child(child->Name());
            if (child->IsStorage() && existing && existing->IsStorage()) {
                work.emplace_back(child.get(), existing.get());
                continue;
            }
            if (existing) to->RemoveChild(child->Name());
            to->InsertChild(child->Clone(), child->Name());
        }
    }
}

} // namespace

uint32_t ModeToFlags(int mode) {
    if (mode == kModeCreate || mode == 0xFFFF) return stgm::Create | stgm::ShareExclusive | stgm::ReadWrite;
    uint32_t flags = uint32_t(mode & 3) == 1   ? stgm::Write
                     : uint32_t(mode & 3) == 2 ? stgm::ReadWrite
                                               : stgm::Read;
    switch ((mode >> 4) & 0x0F) {
    case 2:
        flags |= stgm::ShareDenyWrite;
        break;
    case 3:
        flags |= stgm::ShareDenyRead;
        break;
    case 4:
        flags |= stgm::ShareDenyNone;
        break;
    default:
        flags |= stgm::ShareExclusive;
        break;
    }
    return flags;
}

TDocStorage::TDocStorage(TRootStorage& root) : FRoot(&root) {}

TDocStorage::TDocStorage(TDocStorage& parent, bool createMissing, const QString& path)
    : FRoot(parent.FRoot), FPath(CombinePath(parent.FPath, path)), FComponents(SplitPath(FPath)) {
    OpenChain(createMissing);
    FRoot->FOpenStorages.push_back(this);
}

TDocStorage::~TDocStorage() {
    if (!FRoot || FRoot == this) return;
    auto& open = FRoot->FOpenStorages;
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

void TDocStorage::ResetChain(std::shared_ptr<TCompoundNode> tree) { FChain = {std::move(tree)}; }

void TDocStorage::OpenChain(bool createMissing) {
    FChain = {FRoot->FTree};
    // Reuse the storages already open on the longest shared leading part of the path.
    const TDocStorage* best = nullptr;
    int shared = 0;
    for (const TDocStorage* open : FRoot->FOpenStorages) {
        if (open->FChain.front() != FRoot->FTree) continue; // opened before the tree was replaced
        const int n = SharedComponents(open->FComponents, FComponents);
        if (n > shared) {
            best = open;
            shared = n;
        }
    }
    if (best) FChain.insert(FChain.end(), best->FChain.begin() + 1, best->FChain.begin() + 1 + shared);
    for (int i = shared; i < FComponents.size(); ++i) {
        const QString& name = FComponents[i];
        std::shared_ptr<TCompoundNode> next = FChain.back()->Child(name);
        if (next && !next->IsStorage())
            throw EOleSysError(Format(QStringLiteral("\"%s\" is a stream, not a storage"), name),
                               stg::kFileAlreadyExists);
        if (!next) {
            if (!createMissing) NotFound(FPath);
            FRoot->CheckWritable();
            next = FChain.back()->AddChild(TKind::Storage, name);
            FRoot->Touch();
        }
        FChain.push_back(std::move(next));
    }
}

void TDocStorage::SplitElementPath(const QString& path, QString& directory, QString& name) const {
    QStringList parts = SplitPath(CombinePath(FPath, path));
    if (parts.isEmpty()) throw EOleSysError(QStringLiteral("The path names no element"), stg::kInvalidName);
    name = parts.takeLast();
    directory = parts.join(u'\\');
}

bool TDocStorage::StreamExists(const QString& path) {
    try {
        QString dir, name;
        SplitElementPath(path, dir, name);
        TDocStorage storage(*FRoot, false, dir);
        auto node = storage.Handle().Child(name);
        return node && node->IsStream();
    } catch (const Exception&) {
        return false;
    }
}

bool TDocStorage::StorageExists(const QString& path) {
    try {
        TDocStorage storage(*this, false, path);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TDocStorage::DeleteElement(const QString& path) {
    QString dir, name;
    SplitElementPath(path, dir, name);
    TDocStorage storage(*FRoot, false, dir);
    if (!storage.Handle().Child(name)) return false;
    FRoot->CheckWritable();
    storage.Handle().RemoveChild(name);
    FRoot->Touch();
    return true;
}

void TDocStorage::MoveElement(const QString& fromPath, const QString& toPath) {
    QString fromDir, fromName, toDir, toName;
    SplitElementPath(fromPath, fromDir, fromName);
    SplitElementPath(toPath, toDir, toName);
    TDocStorage from(*FRoot, false, fromDir);
    TDocStorage to(*FRoot, false, toDir);
    auto node = from.Handle().Child(fromName);
    if (!node) NotFound(CombinePath(fromDir, fromName));
    FRoot->CheckWritable();
    TCompoundNode::CheckName(toName);
    // A storage cannot move into itself or below itself.
    for (const auto& link : to.FChain)
        if (link == node)
            throw EOleSysError(QStringLiteral("A storage cannot move into itself"), stg::kAccessDenied);
    auto existing = to.Handle().Child(toName);
    if (existing && existing != node)
        throw EOleSysError(Format(QStringLiteral("The element \"%s\" already exists"), toName),
                           stg::kFileAlreadyExists);
    from.Handle().RemoveChild(fromName);
    to.Handle().InsertChild(node, toName);
    FRoot->Touch();
}

void TDocStorage::GetStorageNames(TStringList& list) const {
    for (const auto& [key, child] : Handle().Children())
        if (child->IsStorage()) list.Add(child->Name());
}

void TDocStorage::GetStreamNames(TStringList& list) const {
    for (const auto& [key, child] : Handle().Children())
        if (child->IsStream()) list.Add(child->Name());
}

void TDocStorage::CopyTo(TDocStorage& dest) {
    dest.Root().CheckWritable();
    // A snapshot first: the destination may lie inside this storage.
    const std::shared_ptr<TCompoundNode> snapshot = Handle().Clone();
    MergeInto(*snapshot, dest.Handle());
    dest.Root().Touch();
}

TRootStorage::TRootStorage(std::shared_ptr<TCompoundNode> tree, int mode)
    : TDocStorage(*this), FTree(std::move(tree)) {
    uint32_t flags = ModeToFlags(mode) & ~stgm::Create;
    if ((flags & stgm::AccessMask) == stgm::Write) flags = (flags & ~stgm::AccessMask) | stgm::ReadWrite;
    FDefaultFlags = flags;
    ResetChain(FTree);
}

TRootStorage::~TRootStorage() {
    // Storages still open outlive their root only by mistake; keep their destructors harmless.
    for (TDocStorage* open : FOpenStorages) open->FRoot = nullptr;
}

void TRootStorage::TakeStamp(bool clear) {
    FStamp = FGeneration;
    FStampEmpty = clear;
}

void TRootStorage::CheckWritable() const {
    if (!IsWritable())
        throw EOleSysError(QStringLiteral("The storage is open for reading only"), stg::kAccessDenied);
}

void TRootStorage::ReplaceTree(std::shared_ptr<TCompoundNode> tree) {
    FTree = std::move(tree);
    ResetChain(FTree);
    Touch();
}

TFileStorage::TFileStorage(std::shared_ptr<TCompoundNode> tree, int mode, QString fileName)
    : TRootStorage(std::move(tree), mode), FFileName(std::move(fileName)), FCommitted(Generation()) {}

std::unique_ptr<TFileStorage> TFileStorage::OpenFile(const QString& fileName, int mode) {
    std::unique_ptr<TFileStorage> storage;
    if (mode == kModeCreate || mode == 0xFFFF) {
        storage.reset(new TFileStorage(TCompoundNode::NewRoot(), mode, fileName));
        storage->Commit();
    } else {
        storage.reset(new TFileStorage(LoadCompoundFile(fileName), mode, fileName));
    }
    storage->TakeStamp();
    return storage;
}

TFileStorage::~TFileStorage() {
    if (!IsWritable() || Generation() == FCommitted) return;
    try {
        Commit();
    } catch (const Exception&) {
        // Nothing can be reported from here; callers that must know call Commit.
    }
}

void TFileStorage::Commit() {
    if (!IsWritable()) return;
    SaveCompoundFile(*Tree(), FFileName);
    FCommitted = Generation();
}

TTemporaryStorage::TTemporaryStorage() : TRootStorage(TCompoundNode::NewRoot(), kModeCreate) { TakeStamp(); }

void TTemporaryStorage::LoadFromFile(const QString& fileName) {
    ReplaceTree(LoadCompoundFile(fileName));
    TakeStamp();
}

void TTemporaryStorage::LoadFromImage(QByteArrayView image) {
    ReplaceTree(ReadCompoundFile(image));
    TakeStamp();
}

void TTemporaryStorage::SaveToFile(const QString& fileName) {
    SaveCompoundFile(*Tree(), fileName);
    TakeStamp();
}

} // namespace vellum
