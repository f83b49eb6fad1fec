#include "profile/ProfileDB2.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "base/WidthConversions.h"
#include "platform/AtomicFile.h"
#include "platform/CompoundNode.h"
#include "platform/InstanceLock.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"
#include "profile/QuickSort.h"

#include <QCollator>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace vellum {
namespace {

// Creates the missing folders of a path, each private to the user.
void MakePrivateFolders(const QString& folder) {
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (path.isEmpty() || QFileInfo(path).isDir()) return;
    MakePrivateFolders(QFileInfo(path).absolutePath());
    ::mkdir(QFile::encodeName(path).constData(), TProfileDB2::kFolderMode);
}

// One lock per database file, however it is named.
QString LockName(const QString& fileName) {
    const QByteArray path = QFile::encodeName(QFileInfo(fileName).absoluteFilePath());
    return QStringLiteral("profiles.") +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

TProfileDB2::TProfileDB2() = default;

TProfileDB2::~TProfileDB2() {
    try {
        Close();
    } catch (const Exception&) {
    }
}

void TProfileDB2::Open() {
    Close();
    auto lock = std::make_unique<TInstanceLock>(LockName(FFileName));
    // Without a runtime folder to lock in, the database still opens.
    if (lock->Acquire() == TInstanceLock::TResult::HeldElsewhere)
        throw EOleSysError(Format(QStringLiteral("プロフィールファイル %s は他で使用中です"), FFileName),
                           stg::kAccessDenied);
    MakePrivateFolders(QFileInfo(FFileName).absolutePath());
    FArray.Open(FFileName, kFileMode);
    FLock = std::move(lock);
    // Opening may have brought the bookkeeping up to date.
    FArray.Commit();
}

bool TProfileDB2::TryOpen() {
    try {
        Open();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TProfileDB2::Close() {
    FUpdating = 0;
    FPending = false;
    // A failed commit keeps the file open, and locked, for another try.
    FArray.Close();
    FLock.reset();
}

int TProfileDB2::Count() { return FArray.Active() ? FArray.Count() : 0; }

void TProfileDB2::Changed() {
    if (FUpdating > 0 && FSinceCommit.isValid() && FSinceCommit.elapsed() < kBatchIntervalMs) {
        FPending = true;
        return;
    }
    FArray.Commit();
    FPending = false;
    FSinceCommit.start();
}

void TProfileDB2::BeginUpdate() {
    if (FUpdating++ == 0) FSinceCommit.start();
}

void TProfileDB2::EndUpdate() {
    if (FUpdating == 0 || --FUpdating > 0) return;
    if (FPending && FArray.Active()) {
        FArray.Commit();
        FPending = false;
    }
}

void TProfileDB2::CheckPosition(int i) {
    if (i < 0 || i >= Count())
        throw EStreamArray(Format(QStringLiteral("プロフィール %d はありません"), i + 1));
}

void TProfileDB2::Write(int i, const TProfileInfo2& profile) {
    if (i < 0 || i > Count()) CheckPosition(i);
    // The record is made first: a value the code page lacks changes nothing.
    TMemoryStream record;
    profile.Save(record);
    TStream& element = FArray.Stream(i);
    element.SetSize(0);
    element.SetPosition(0);
    element.WriteBytes(record.Data());
    Changed();
}

void TProfileDB2::Insert(int i, const TProfileInfo2& profile) {
    const int end = Count();
    if (i < 0 || i > end) CheckPosition(i);
    BeginUpdate();
    try {
        Write(end, profile);
        if (i != end) {
            FArray.Move(end, i);
            Changed();
        }
    } catch (...) {
        AbandonUpdate();
        throw;
    }
    EndUpdate();
}

void TProfileDB2::AbandonUpdate() noexcept {
    try {
        EndUpdate();
    } catch (const std::exception&) {
        // The failure that ended the update is the one reported.
    }
}

bool TProfileDB2::ReadRecord(int i, TProfileInfo2& profile, bool withPictures) {
    CheckPosition(i);
    TStream& element = FArray.Stream(i);
    element.SetPosition(0);
    return profile.Load(element, withPictures);
}

bool TProfileDB2::Read(int i, TProfileInfo2& profile) { return ReadRecord(i, profile, true); }

bool TProfileDB2::ReadHeader(int i, TProfileInfo2& profile) { return ReadRecord(i, profile, false); }

int TProfileDB2::IndexOf(const TProfileInfo2& profile) {
    TProfileInfo2 record;
    for (int i = 0; i < Count(); ++i) {
        ReadHeader(i, record);
        if (record.SameProfile(profile)) return i;
    }
    return -1;
}

void TProfileDB2::Delete(int i) {
    CheckPosition(i);
    FArray.Delete(i);
    Changed();
}

void TProfileDB2::Move(int from, int to) {
    CheckPosition(from);
    CheckPosition(to);
    if (from == to) return;
    FArray.Move(from, to);
    Changed();
}

void TProfileDB2::Clear() {
    FArray.Clear();
    Changed();
}

QString TProfileDB2::SortKey(const QString& value) {
    QString key = value;
    for (QChar& c : key)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    return HiraganaToKatakana(HalfToFullWidth(key));
}

void TProfileDB2::Sort(int field, bool descending) {
    struct TKeyed {
        QString Key;
        int Position;
    };
    std::vector<TKeyed> items;
    items.reserve(size_t(Count()));
    TProfileInfo2 record;
    for (int i = 0; i < Count(); ++i) {
        ReadHeader(i, record);
        items.push_back({SortKey(record.GetValue(field)), i});
    }
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const int sign = descending ? -1 : 1;
    QuickSort<TKeyed>(items, [&collator, sign](const TKeyed& a, const TKeyed& b) {
        return sign * collator.compare(a.Key, b.Key);
    });
    std::vector<int> order;
    order.reserve(items.size());
    for (const TKeyed& item : items) order.push_back(item.Position);
    FArray.Reorder(order);
    Changed();
}

QList<int> TProfileDB2::SelectedProfiles() {
    QList<int> selected;
    TProfileInfo2 record;
    for (int i = 0; i < Count(); ++i) {
        ReadHeader(i, record);
        if (!record.GetValue(kMergeMarkField).isEmpty()) selected << i;
    }
    return selected;
}

void TProfileDB2::CopyTo(const QString& fileName) {
    FArray.Commit();
    FPending = false;
    QFile source(FFileName);
    if (!source.open(QIODevice::ReadOnly))
        throw EOleSysError(Format(QStringLiteral("ファイル %s を開けません（%s）"), FFileName,
                                  source.errorString()),
                           stg::kAccessDenied);
    const QByteArray bytes = source.readAll();
    WriteFileAtomically(fileName, bytes, kFileMode);
}

} // namespace vellum
