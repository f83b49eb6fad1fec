#include "paper/Papers.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Format.h"
#include "base/StringList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"

#include <QFileInfo>

#include <algorithm>
#include <set>

namespace vellum {
namespace {

const QString kPapers = QStringLiteral("Papers");
const QString kPurposeList = QStringLiteral("PurposeList\\PurposeList");
constexpr int kModeRead = 0;

} // namespace

TPapers::TPapers() = default;

TPapers::~TPapers() {
    try {
        Close();
    } catch (const Exception&) {
        // Callers that care about a failed save call Close themselves.
    }
}

QString TPapers::SerialName(uint32_t serial) { return Format(QStringLiteral("$%.8x"), int64_t(serial)); }

std::optional<uint32_t> TPapers::ParseSerialName(const QString& name) {
    if (name.size() != 9 || name[0] != u'$') return std::nullopt;
    uint32_t value = 0;
    for (int i = 1; i < 9; ++i) {
        const char16_t c = name[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + uint32_t(digit);
    }
    return value;
}

QString TPapers::PaperPath(const QString& streamName) { return kPapers + u'\\' + streamName; }

void TPapers::Open(const QString& fileName, bool readOnly) {
    Close();
    auto storage = std::make_unique<TTemporaryStorage>();
    if (QFileInfo::exists(fileName)) storage->LoadFromFile(fileName);
    TPurposeList purposes;
    if (storage->StreamExists(kPurposeList)) {
        TDocStream stream(*storage, kModeRead, kPurposeList);
        purposes.LoadFromStream(stream);
    } else {
        purposes.SetDefault();
    }
    std::vector<TItem> items;
    {
        TDocStorage papers(*storage, true, kPapers);
        TStringList names;
        papers.GetStreamNames(names);
        QStringList sorted = names.Items();
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        for (const QString& name : sorted) {
            TDocStream stream(papers, kModeRead, name);
            std::unique_ptr<TComponent> component(ReadComponent(stream));
            std::unique_ptr<TPaperInfo> paper = TakeAs<TPaperInfo>(component);
            if (!paper) throw EConvertError(QStringLiteral("無効なクラス型キャストです"));
            TPaperInfo& read = *paper;
            items.push_back({name, std::move(paper)});
            read.PurposeList().Merge(purposes);
        }
    }
    FStorage = std::move(storage);
    FFileName = fileName;
    FReadOnly = readOnly;
    FPurposes.Assign(&purposes);
    FItems = std::move(items);
}

bool TPapers::IsModified() const { return FStorage && FStorage->IsModified(); }

void TPapers::Close() {
    if (!FStorage) return;
    std::unique_ptr<TTemporaryStorage> storage = std::move(FStorage);
    std::vector<TItem> items = std::move(FItems);
    FItems.clear();
    FPurposes.Clear();
    if (!FReadOnly && storage->IsModified()) storage->SaveToFile(FFileName);
}

void TPapers::CheckOpen() const {
    if (!FStorage) throw EPaperError(QStringLiteral("The paper catalogue is not open"));
}

void TPapers::CheckIndex(int i) const {
    if (i < 0 || i >= Count())
        throw EListError(Format(QStringLiteral("リストのインデックスが範囲を超えています (%d)"), i));
}

TPaperInfo* TPapers::Papers(int i) const {
    CheckIndex(i);
    return FItems[size_t(i)].Paper.get();
}

QString TPapers::StreamName(int i) const {
    CheckIndex(i);
    return FItems[size_t(i)].StreamName;
}

int TPapers::IndexOfName(const QString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].Paper->PaperName() == name) return i;
    return -1;
}

void TPapers::GetGroupNames(QStringList& strings) const {
    for (const TItem& item : FItems)
        if (!strings.contains(item.Paper->GroupName(), Qt::CaseInsensitive))
            strings << item.Paper->GroupName();
}

uint32_t TPapers::LastSerial() const {
    uint32_t last = 0;
    for (const TItem& item : FItems)
        if (auto serial = ParseSerialName(item.StreamName)) last = std::max(last, *serial);
    return last;
}

uint32_t TPapers::NextSerial(uint32_t after) const {
    if (after == UINT32_MAX) throw EPaperError(QStringLiteral("No paper serial number left"));
    return after + 1;
}

void TPapers::SortByName() {
    std::stable_sort(FItems.begin(), FItems.end(), [](const TItem& a, const TItem& b) {
        return a.StreamName.compare(b.StreamName, Qt::CaseInsensitive) < 0;
    });
}

void TPapers::WritePurposes() {
    TDocStream stream(*FStorage, kModeCreate, kPurposeList);
    FPurposes.SaveToStream(stream);
}

void TPapers::Delete(int i) {
    CheckOpen();
    CheckIndex(i);
    FStorage->DeleteElement(PaperPath(FItems[size_t(i)].StreamName));
    FItems.erase(FItems.begin() + i);
}

void TPapers::Store(const TPaperInfo& paper) {
    CheckOpen();
    if (FPurposes.Merge(paper.PurposeList())) WritePurposes();
    const int index = IndexOfName(paper.PaperName());
    QString name;
    if (index < 0) {
        name = SerialName(NextSerial(LastSerial()));
    } else {
        name = FItems[size_t(index)].StreamName;
        FStorage->DeleteElement(PaperPath(name));
    }
    // The stream holds the upright paper with its purposes; a copy is written
    // so the caller's paper keeps its orientation and flag whatever happens.
    std::unique_ptr<TPaperInfo> stored = paper.Clone();
    stored->SetLandscape(false);
    stored->SetStorePurposes(true);
    {
        TDocStream stream(*FStorage, kModeCreate, PaperPath(name));
        WriteComponent(stream, *stored);
    }
    std::unique_ptr<TPaperInfo> kept = paper.Clone();
    if (index < 0) {
        FItems.push_back({name, std::move(kept)});
        SortByName();
    } else {
        FItems[size_t(index)].Paper = std::move(kept);
    }
}

void TPapers::Reorder(const QStringList& names) {
    CheckOpen();
    // Every name is checked before anything moves, so a bad list changes nothing.
    std::vector<int> order;
    std::set<int> seen;
    for (const QString& name : names) {
        const int index = IndexOfName(name);
        if (index < 0 || !seen.insert(index).second) throw EPaperError(QStringLiteral("Bad paper name"));
        order.push_back(index);
    }
    const uint32_t last = LastSerial();
    if (uint64_t(last) + order.size() > UINT32_MAX)
        throw EPaperError(QStringLiteral("No paper serial number left"));
    uint32_t serial = last;
    for (int index : order) {
        const QString name = SerialName(++serial);
        FStorage->MoveElement(PaperPath(FItems[size_t(index)].StreamName), PaperPath(name));
        FItems[size_t(index)].StreamName = name;
    }
    SortByName();
}

} // namespace vellum
