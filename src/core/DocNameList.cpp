#include "core/DocNameList.h"

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "core/PathUtil.h"

#include <QScopeGuard>

namespace vellum {

const TClassInfo& TDocNameList::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TDocNameList, TStringList>("TDocNameList", [](auto&) {});
    return info;
}

const TClassInfo& TDocStreamList::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TDocStreamList, TDocNameList>("TDocStreamList", [](auto&) {});
    return info;
}

const TClassInfo& TDocStorageList::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TDocStorageList, TDocNameList>("TDocStorageList", [](auto&) {});
    return info;
}

TDocNameList::TDocNameList(TDocStorage& storage, const QString& path) : FRoot(storage.Root()) {
    QStringList parts = SplitPath(CombinePath(storage.Path(), path));
    if (parts.isEmpty())
        throw EOleSysError(QStringLiteral("The path names no list stream"), stg::kInvalidName);
    FPrefix = parts.takeLast();
    FDirectory = parts.join(u'\\');
    const QString streamPath = CombinePath(FDirectory, FPrefix);
    if (!FRoot.IsWritable()) {
        if (FRoot.StreamExists(streamPath)) FStream = std::make_unique<TDocStream>(FRoot, 0, streamPath);
    } else if (FRoot.StreamExists(streamPath)) {
        FStream = std::make_unique<TDocStream>(FRoot, 2, streamPath);
    } else {
        FStream = std::make_unique<TDocStream>(FRoot, kModeCreate, streamPath);
    }
    if (!FStream || FStream->Size() == 0) return;
    FLoading = true;
    const auto loaded = qScopeGuard([this] { FLoading = false; });
    FStream->SetPosition(0);
    FNextSerial = ReadI32(*FStream);
    SetText(cp932::Decode(FStream->ReadAll()));
}

TDocNameList::~TDocNameList() = default;

void TDocNameList::Changed() {
    if (FLoading) return;
    if (!FStream) FRoot.CheckWritable(); // a read-only root without a list stream
    QByteArray bytes(4, '\0');
    PutLE32(bytes.data(), uint32_t(FNextSerial));
    bytes += cp932::Encode(Text());
    FStream->SetSize(0);
    FStream->WriteBytes(bytes);
}

int TDocNameList::AddNew() {
    const QString name = FPrefix + QString::number(FNextSerial);
    ++FNextSerial;
    return Add(name);
}

void TDocNameList::CheckIndex(int i) const {
    if (i < 0 || i >= Count())
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
}

void TDocNameList::DeleteItem(int i) {
    CheckIndex(i);
    try {
        FRoot.DeleteElement(ItemPath(i));
    } catch (const EOleSysError& e) {
        if (e.ErrorCode() != stg::kFileNotFound) throw;
    }
    Delete(i);
}

QString TDocNameList::ItemPath(int i) const {
    CheckIndex(i);
    return FDirectory + u'\\' + Strings(i);
}

std::unique_ptr<TDocStream> TDocNameList::OpenItemStream(int i, int mode) {
    return std::make_unique<TDocStream>(FRoot, mode, ItemPath(i));
}

bool TDocNameList::ItemStreamExists(int i) {
    return i >= 0 && i < Count() && FRoot.StreamExists(ItemPath(i));
}

std::unique_ptr<TDocStorage> TDocNameList::OpenItemStorage(int i, bool createMissing) {
    return std::make_unique<TDocStorage>(FRoot, createMissing, ItemPath(i));
}

} // namespace vellum
