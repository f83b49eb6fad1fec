#include "core/DocStream.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "core/PathUtil.h"

namespace vellum {

TDocStream::TDocStream(TDocStorage& storage, int mode, const QString& path) {
    const bool create = mode == kModeCreate || mode == 0xFFFF;
    QStringList parts = SplitPath(CombinePath(storage.Path(), path));
    if (parts.isEmpty()) throw EOleSysError(QStringLiteral("The path names no stream"), stg::kInvalidName);
    FName = parts.takeLast();
    FStorage = std::make_unique<TDocStorage>(storage.Root(), create, parts.join(u'\\'));
    TRootStorage& root = storage.Root();
    TCompoundNode& dir = FStorage->Handle();
    std::shared_ptr<TCompoundNode> node = dir.Child(FName);
    bool writable = FlagsAllowWrite(ModeToFlags(mode));
    if (create) {
        root.CheckWritable();
        if (node && !node->IsStream())
            throw EOleSysError(Format(QStringLiteral("\"%s\" is a storage, not a stream"), FName),
                               stg::kFileAlreadyExists);
        if (node)
            node->Data().clear();
        else
            node = dir.AddChild(TCompoundNode::TKind::Stream, FName);
        root.Touch();
    } else {
        if (!node || !node->IsStream())
            throw EOleSysError(Format(QStringLiteral("The stream \"%s\" was not found"),
                                      CombinePath(storage.Path(), path)),
                               stg::kFileNotFound);
        if (writable) root.CheckWritable();
    }
    TRootStorage* rootPtr = &root;
    FStream = std::make_unique<TCompoundStream>(std::move(node), writable, [rootPtr] { rootPtr->Touch(); });
}

void TDocStream::SetSize(int64_t newSize) {
    FStream->Seek(newSize, TSeekOrigin::soBeginning);
    FStream->SetSize(newSize);
}

} // namespace vellum
