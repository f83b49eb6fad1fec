#pragma once
// An ordered list of element names kept in a stream beside the elements: the
// order is the application's (sheets, previews), not the storage's.
//
// List stream: int32 next serial number, then the names in cp932, each line
// ending in CR LF. Every change of the list rewrites the stream.

#include "base/StringList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"

#include <memory>

namespace vellum {

class TDocNameList : public TStringList {
public:
    // path names the list stream relative to storage; its last component is the
    // prefix of new item names ("Sheets\NameList" makes NameList0, NameList1, ...).
    TDocNameList(TDocStorage& storage, const QString& path);
    ~TDocNameList() override;

    VELLUM_CLASS(TDocNameList)

public:

    const QString& Prefix() const { return FPrefix; }
    int32_t NextSerial() const { return FNextSerial; }

    // Appends prefix + next serial number; the serial never goes back.
    int AddNew();
    // Deletes the element named by item i (a missing element is no error), then the item.
    void DeleteItem(int i);
    // The item's path relative to the root.
    QString ItemPath(int i) const;
    std::unique_ptr<TDocStream> OpenItemStream(int i, int mode);
    bool ItemStreamExists(int i);
    std::unique_ptr<TDocStorage> OpenItemStorage(int i, bool createMissing);

protected:
    void Changed() override;

private:
    void CheckIndex(int i) const;

    TRootStorage& FRoot;
    QString FDirectory; // the list stream's storage, relative to the root
    QString FPrefix;
    int32_t FNextSerial = 0;
    std::unique_ptr<TDocStream> FStream; // none on a read-only root without a list stream
    bool FLoading = false;
};

class TDocStreamList : public TDocNameList {
public:
    using TDocNameList::TDocNameList;
    VELLUM_CLASS(TDocStreamList)

public:
};

class TDocStorageList : public TDocNameList {
public:
    using TDocNameList::TDocNameList;
    VELLUM_CLASS(TDocStorageList)

public:
};

} // namespace vellum
