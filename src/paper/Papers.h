#pragma once
// The paper catalogue: a compound file with one component stream per paper
// in the storage "Papers", named "$" + 8 upper-case hexadecimal digits of a
// serial number (the catalogue's order), and the catalogue's purpose list in
// "PurposeList\PurposeList". It is worked on as a copy in memory and saved
// whole when closed.

#include "paper/PaperInfo.h"
#include "paper/PurposeList.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vellum {

class TTemporaryStorage;

class TPapers {
public:
    TPapers();
    virtual ~TPapers();
    TPapers(const TPapers&) = delete;
    TPapers& operator=(const TPapers&) = delete;

    // Loads the file when it exists; a new catalogue otherwise. Raises the
    // storage's and the streams' errors; a stream that holds no paper raises
    // EConvertError.
    void Open(const QString& fileName, bool readOnly);
    // Saves when modified unless opened read only, then frees the papers.
    void Close();
    bool IsOpen() const { return bool(FStorage); }
    bool IsReadOnly() const { return FReadOnly; }
    bool IsModified() const;
    const QString& FileName() const { return FFileName; }

    int Count() const { return int(FItems.size()); }
    // Owned by the catalogue; raises EListError out of range.
    TPaperInfo* Papers(int i) const;
    // The stream name of paper i.
    QString StreamName(int i) const;
    TPurposeList& PurposeList() { return FPurposes; }

    // Moves the papers into the order of names, which must name known papers
    // once each; raises EPaperError "Bad paper name" before moving anything otherwise.
    virtual void Reorder(const QStringList& names);
    // Appends every group name not yet present (case-insensitive), in catalogue order.
    virtual void GetGroupNames(QStringList& strings) const;
    // Exact, case-sensitive; -1 when none.
    virtual int IndexOfName(const QString& name) const;
    virtual void Delete(int i);
    // Writes the paper (upright, with its purposes) under its name, replacing
    // a paper of the same name, and keeps a clone of it.
    virtual void Store(const TPaperInfo& paper);

    // "$" + 8 upper-case hexadecimal digits; the serial of such a name
    // (either case of digits), none for names of another form.
    static QString SerialName(uint32_t serial);
    static std::optional<uint32_t> ParseSerialName(const QString& name);

private:
    struct TItem {
        QString StreamName;
        std::unique_ptr<TPaperInfo> Paper;
    };
    void CheckOpen() const;
    void CheckIndex(int i) const;
    // The highest serial in use; 0 when none.
    uint32_t LastSerial() const;
    uint32_t NextSerial(uint32_t after) const;
    void SortByName();
    void WritePurposes();
    static QString PaperPath(const QString& streamName);

    std::unique_ptr<TTemporaryStorage> FStorage;
    QString FFileName;
    bool FReadOnly = false;
    TPurposeList FPurposes;
    std::vector<TItem> FItems;
};

} // namespace vellum
