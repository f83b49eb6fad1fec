#pragma once
// The profile database: one profile record per element of a stream array in
// its own compound file, in the order the user sees. Every change reaches
// the file at once through an atomic rewrite, so a killed program leaves the
// database as it was after the last change that returned. Between
// BeginUpdate and EndUpdate (imports) changes are committed in batches, at
// most kBatchInterval apart, and at EndUpdate.

#include "core/StreamArray.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <memory>

namespace vellum {

class TInstanceLock;
class TProfileInfo2;

class TProfileDB2 {
public:
    // The database and its copies are readable by their owner only.
    static constexpr int kFileMode = 0600;
    static constexpr int kFolderMode = 0700;
    static constexpr int kBatchIntervalMs = 100;

    TProfileDB2();
    // Commits what is pending; errors are lost here, call Close to see them.
    ~TProfileDB2();
    TProfileDB2(const TProfileDB2&) = delete;
    TProfileDB2& operator=(const TProfileDB2&) = delete;

    void SetFileName(const QString& fileName) { FFileName = fileName; }
    const QString& FileName() const { return FFileName; }
    // Opens the stored file, creating it (and its folder) when missing;
    // raises the storage error when the file cannot be opened or is damaged,
    // and EOleSysError when another database object (of any process) has it
    // open: two writers would each commit their own tree over the other's.
    void Open();
    // The start-up form: false instead of an error.
    bool TryOpen();
    void Close();
    bool Active() const { return FArray.Active(); }

    int Count();
    // Position i = Count appends. Raises EEncodingError, changing nothing,
    // when a value has no form in the code page.
    void Write(int i, const TProfileInfo2& profile);
    void Add(const TProfileInfo2& profile) { Write(Count(), profile); }
    void Insert(int i, const TProfileInfo2& profile);
    // With pictures; false when the record had the older layout. A position
    // outside the database raises EStreamArray.
    bool Read(int i, TProfileInfo2& profile);
    // Without pictures (they stay as they were).
    bool ReadHeader(int i, TProfileInfo2& profile);
    // The first position of a record with the profile's identity, -1 when none.
    int IndexOf(const TProfileInfo2& profile);
    void Delete(int i);
    void Move(int from, int to);
    void Clear();
    // By field k, upper-cased, full-width and katakana, compared without
    // regard to case in the Japanese locale; only the order changes.
    void Sort(int field, bool descending);
    // The positions whose merge mark (field 0) is set.
    QList<int> SelectedProfiles();
    // Commits, then copies the file to fileName (replaced when it exists).
    void CopyTo(const QString& fileName);

    void BeginUpdate();
    // Commits what is pending; may raise the storage error.
    void EndUpdate();
    // EndUpdate on the way out of a failure: commits what it can, raises nothing.
    void AbandonUpdate() noexcept;

    // The key Sort compares for a value.
    static QString SortKey(const QString& value);

private:
    bool ReadRecord(int i, TProfileInfo2& profile, bool withPictures);
    void CheckPosition(int i);
    // After every change: now, or in batches while updating.
    void Changed();

    std::unique_ptr<TInstanceLock> FLock;
    TStreamArrayEx FArray;
    QString FFileName;
    int FUpdating = 0;
    bool FPending = false;
    QElapsedTimer FSinceCommit;
};

} // namespace vellum
