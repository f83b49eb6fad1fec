#include "platform/AtomicFile.h"

#include "base/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

namespace vellum {
namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList Hidden(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QStringList{QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
}

QString Message(const QString& path, const QByteArray& bytes) {
    try {
        WriteFileAtomically(path, bytes);
    } catch (const EOleSysError& e) {
        return e.Message();
    }
    return QString();
}

TEST(AtomicFile, AJapaneseNameAsLongAsTheSystemAllowsIsSaved) {
    QTemporaryDir tmp;
    // 84 characters of three bytes each: 252 of the 255 bytes a name may have.
    const QString name = QString(80, QChar(0x540D)) + QStringLiteral("名刺データ").left(4);
    ASSERT_EQ(QFile::encodeName(name).size(), 252);
    const QString path = tmp.filePath(name);
    WriteFileAtomically(path, "first");
    WriteFileAtomically(path, "second");
    EXPECT_EQ(Read(path), QByteArray("second"));
    EXPECT_TRUE(Hidden(tmp).isEmpty());
    EXPECT_LE(TemporaryPrefix(path).size() + 6, 20);
}

TEST(AtomicFile, ReadOnlyTargetsAndFoldersAreRefusedAndKept) {
    QTemporaryDir tmp;
    const QString locked = tmp.filePath(QStringLiteral("locked.xv4"));
    Write(locked, "keep");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    // Refused even for root, who could write it.
    EXPECT_EQ(Message(locked, "new"),
              QStringLiteral("ファイル %1 は読み取り専用のため保存できません").arg(locked));
    EXPECT_EQ(Read(locked), QByteArray("keep"));

    const QString folder = tmp.filePath(QStringLiteral("folder.xv4"));
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("folder.xv4")));
    EXPECT_EQ(Message(folder, "new"),
              QStringLiteral("ファイル %1 を保存できません（同じ名前のフォルダーがあります）").arg(folder));

    const QString nowhere = tmp.filePath(QStringLiteral("no/such/x.xv4"));
    EXPECT_EQ(Message(nowhere, "new"),
              QStringLiteral("ファイル %1 を保存できません（フォルダーが見つかりません）").arg(nowhere));
    EXPECT_TRUE(Hidden(tmp).isEmpty());
}

TEST(AtomicFile, ASymbolicLinkStaysALinkAndItsFileIsReplaced) {
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("real")));
    const QString real = tmp.filePath(QStringLiteral("real/card.xv4"));
    const QString link = tmp.filePath(QStringLiteral("card.xv4"));
    Write(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    WriteFileAtomically(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(real), QByteArray("new"));
    // The temporary went beside the real file, and is gone.
    EXPECT_TRUE(Hidden(tmp).isEmpty());
    EXPECT_TRUE(QDir(tmp.filePath(QStringLiteral("real"))).entryList(QDir::Hidden | QDir::Files).size() == 1);

    // A link to a file not yet there makes that file.
    const QString dangling = tmp.filePath(QStringLiteral("later.xv4"));
    ASSERT_TRUE(QFile::link(tmp.filePath(QStringLiteral("real/later.xv4")), dangling));
    WriteFileAtomically(dangling, "made");
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(Read(tmp.filePath(QStringLiteral("real/later.xv4"))), QByteArray("made"));
}

TEST(AtomicFile, TemporariesOfKilledSavesGoAtTheNextSave) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("card.xv4"));
    const QString prefix = TemporaryPrefix(path);
    const struct {
        QString Name;
        bool Old;
        bool Removed;
    } cases[] = {
        {prefix + QStringLiteral("a1b2c3"), true, true},
        {QStringLiteral(".card.xv4.Zz9Yy8"), true, true},  // the longer naming of earlier versions
        {prefix + QStringLiteral("d4e5f6"), false, false}, // a save may be writing it now
        {TemporaryPrefix(tmp.filePath(QStringLiteral("other.xv4"))) + QStringLiteral("g7h8i9"), true, false},
        {QStringLiteral(".card.xv4.toolong1"), true, false},
    };
    for (const auto& c : cases) {
        const QString file = tmp.filePath(c.Name);
        Write(file, "left over");
        if (c.Old) {
            const struct utimbuf times { 1000000000, 1000000000 };
            ASSERT_EQ(::utime(QFile::encodeName(file).constData(), &times), 0);
        }
    }
    WriteFileAtomically(path, "saved");
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(tmp.filePath(c.Name)), !c.Removed) << c.Name.toStdString();
    EXPECT_EQ(Read(path), QByteArray("saved"));
}

} // namespace
} // namespace vellum
