#include "core/Storage.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "platform/CompoundFile.h"
#include "platform/CompoundStream.h"

#include <QFileInfo>

namespace vellum {

TStorage::TStorage(std::shared_ptr<TCompoundNode> tree, QString fileName, bool readOnly, int newFileMode)
    : FTree(std::move(tree)), FFileName(std::move(fileName)), FReadOnly(readOnly), FNewFileMode(newFileMode) {
}

std::unique_ptr<TStorage> TStorage::OpenStorageFile(const QString& fileName, bool readOnly, int newFileMode) {
    if (QFileInfo::exists(fileName))
        return std::unique_ptr<TStorage>(
            new TStorage(LoadCompoundFile(fileName), fileName, readOnly, newFileMode));
    // A new file is created at once, as the storage system does.
    auto tree = TCompoundNode::NewRoot();
    SaveCompoundFile(*tree, fileName, newFileMode);
    return std::unique_ptr<TStorage>(new TStorage(std::move(tree), fileName, readOnly, newFileMode));
}

TStorage::~TStorage() {
    try {
        Commit();
    } catch (const Exception&) {
        // Reported only to callers of Commit.
    }
}

void TStorage::CheckWritable() const {
    if (FReadOnly)
        throw EOleSysError(QStringLiteral("The storage is open for reading only"), stg::kAccessDenied);
}

bool TStorage::ElementExists(const QString& name) const {
    TCompoundNode::CheckName(name);
    return FTree->Child(name) != nullptr;
}

std::unique_ptr<TStream> TStorage::OpenStream(const QString& name) {
    std::shared_ptr<TCompoundNode> node = FTree->Child(name);
    if (node && !node->IsStream())
        throw EOleSysError(Format(QStringLiteral("\"%s\" is a storage, not a stream"), name),
                           stg::kAccessDenied);
    if (!node) {
        CheckWritable();
        node = FTree->AddChild(TCompoundNode::TKind::Stream, name);
        ++FGeneration;
    }
    return std::make_unique<TCompoundStream>(std::move(node), !FReadOnly, [this] { ++FGeneration; });
}

void TStorage::DestroyElement(const QString& name) {
    CheckWritable();
    if (!FTree->RemoveChild(name))
        throw EOleSysError(Format(QStringLiteral("\"%s\" was not found"), name), stg::kFileNotFound);
    ++FGeneration;
}

void TStorage::GetStreamNames(TStringList& list) const {
    for (const auto& [key, child] : FTree->Children())
        if (child->IsStream()) list.Add(child->Name());
}

void TStorage::Commit() {
    if (FReadOnly || FGeneration == FCommitted) return;
    // A file removed meanwhile comes back with the mode of a new file.
    SaveCompoundFile(*FTree, FFileName, FNewFileMode);
    FCommitted = FGeneration;
}

} // namespace vellum
