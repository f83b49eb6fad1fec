#include "app/BatchProfileCommands.h"

#include "app/BatchTool.h"
#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"
#include "base/Cp932.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileInfo2.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace vellum {
namespace {

struct TRun {
    int Code;
    QString Out, Err;
};

QStringList Names(const QString& fileName) {
    TProfileDB2 db;
    db.SetFileName(fileName);
    db.Open();
    QStringList names;
    TProfileInfo2 p;
    for (int i = 0; i < db.Count(); ++i) {
        db.ReadHeader(i, p);
        names << p.GetValue(1);
    }
    return names;
}

void MakeDB(const QString& fileName, const QStringList& names) {
    TProfileDB2 db;
    db.SetFileName(fileName);
    db.Open();
    for (const QString& name : names) {
        TProfileInfo2 p;
        p.Clear();
        p.SetValue(1, name);
        db.Add(p);
    }
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class BatchProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Home.isValid());
        qputenv("XDG_CONFIG_HOME", Path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
        Frame = std::make_unique<TAppFrame>(nullptr, Path(QStringLiteral("install/bin/vellum4")));
        LoadStartupMacros(*Frame);
    }

    QString Path(const QString& rel) const { return Home.path() + u'/' + rel; }

    static TRun Run(const QStringList& args) {
        TBatchTool tool;
        AddProfileCommands(tool);
        QString out, err;
        QTextStream o(&out), e(&err);
        const int code = tool.Run(args, o, e);
        return {code, out, err};
    }

    QTemporaryDir Home;
    std::unique_ptr<TAppFrame> Frame;
};

TEST_F(BatchProfileTest, ImportExportAndListWorkOnTheProgramsDatabaseByDefault) {
    const QString csv = Path(QStringLiteral("in.csv"));
    WriteFile(csv,
              "\xEF\xBB\xBF" + QStringLiteral("ふりがな,氏名\r\nやまだ,山田\r\nすずき,鈴木\r\n").toUtf8());
    TRun r = Run({"profiles", "import", "--map-by-title", "--skip-first", csv});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QStringLiteral("2 件のプロフィールを読み込みました (全 2 件)\n"));
    const QString db = Frame->Expand(QStringLiteral("$(ProfileDB)"));
    EXPECT_EQ(Names(db), (QStringList{"山田", "鈴木"}));

    r = Run({"profiles", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("(2 件)\n0\t\t山田\tやまだ\t\n1\t\t鈴木\tすずき\t\n")));

    const QString out = Path(QStringLiteral("out.csv"));
    r = Run({"profiles", "export", "--encoding", "cp932", "--db", db, out});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith(cp932::Encode(QStringLiteral("山田,やまだ,"))));
}

TEST_F(BatchProfileTest, BadInputIsOneLineAndExitCodeOne) {
    const QString damaged = Path(QStringLiteral("damaged.mdp"));
    WriteFile(damaged, "not a database");
    const QString csv = Path(QStringLiteral("in.csv"));
    WriteFile(csv, "\xEF\xBB\xBF" + QStringLiteral("🍣\r\n").toUtf8());
    const QStringList cases[] = {
        {"profiles"},
        {"profiles", "sort"},
        {"profiles", "import"},
        {"profiles", "import", "--bogus", csv},
        {"profiles", "export", "--encoding", "latin1", Path("x.csv")},
        {"profiles", "import", Path("missing.csv")},
        {"profiles", "list", "--db", damaged},
        {"profiles", "list", "--db", Path("missing.mdp")},
        {"profiles", "import", "--db", Path("new.mdp"), csv},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const TRun r = Run(args);
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Err.count(u'\n'), 1) << r.Err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("x.csv")));
    EXPECT_TRUE(Names(Path("new.mdp")).isEmpty());
}

// The tool is killed at moments spread over an import of 5,000 profiles;
// each time the database opens and holds what it held before plus a prefix
// of the import, in order.
TEST_F(BatchProfileTest, AnImportKilledAtAnyMomentLeavesThePreviousProfilesAndAPrefix) {
    constexpr int kRows = 5000;
    constexpr int kKills = 20;
    const QStringList before{QStringLiteral("前からの一"), QStringLiteral("前からの二"),
                             QStringLiteral("前からの三")};
    const QString base = Path(QStringLiteral("base.mdp"));
    MakeDB(base, before);
    // Every field filled, so the import spans several of the database's batch commits.
    QString text;
    for (int i = 0; i < kRows; ++i) {
        text += QStringLiteral("K%1").arg(i, 4, 10, QChar(u'0'));
        for (int k = 1; k < 55; ++k) text += QStringLiteral(",髙﨑ビル①%1-%2").arg(i).arg(k);
        text += QStringLiteral("\r\n");
    }
    const QString csv = Path(QStringLiteral("many.csv"));
    WriteFile(csv, cp932::Encode(text));
    const QString empty = Path(QStringLiteral("empty.csv"));
    WriteFile(empty, QByteArray());
    QStringList imported;
    for (int i = 0; i < kRows; ++i) imported << QStringLiteral("K%1").arg(i, 4, 10, QChar(u'0'));

    const auto start = [&](const QString& db, QProcess& p, const QString& file) {
        QFile::remove(db);
        ASSERT_TRUE(QFile::copy(base, db));
        p.setProgram(QStringLiteral(VELLUM_BATCH_TOOL));
        p.setArguments({"profiles", "import", "--db", db, file});
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start();
        ASSERT_TRUE(p.waitForStarted());
    };
    // Two whole runs first, of nothing and of everything, give the span of the
    // import itself that the kills are spread over.
    const auto timed = [&](const QString& db, const QString& file) {
        QElapsedTimer clock;
        clock.start();
        QProcess p;
        start(db, p, file);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0);
        return clock.elapsed();
    };
    const qint64 startup = timed(Path(QStringLiteral("nothing.mdp")), empty);
    const qint64 whole = timed(Path(QStringLiteral("whole.mdp")), csv);
    EXPECT_EQ(Names(Path(QStringLiteral("whole.mdp"))), before + imported);
    const qint64 span = std::max<qint64>(whole - startup, 1);

    int partial = 0;
    for (int k = 0; k < kKills; ++k) {
        SCOPED_TRACE(k);
        const QString db = Path(QStringLiteral("killed%1.mdp").arg(k));
        QProcess p;
        QElapsedTimer clock;
        clock.start();
        start(db, p, csv);
        const qint64 moment = startup + span * (k + 1) / (kKills + 1);
        QThread::msleep(ulong(std::max<qint64>(0, moment - clock.elapsed())));
        p.kill();
        ASSERT_TRUE(p.waitForFinished(10000));
        const QStringList names = Names(db);
        ASSERT_GE(names.size(), before.size());
        EXPECT_EQ(names.mid(0, before.size()), before);
        const QStringList rest = names.mid(before.size());
        EXPECT_EQ(rest, imported.mid(0, rest.size()));
        if (!rest.isEmpty() && rest.size() < kRows) ++partial;
    }
    // How many kills fell between two commits of the import depends on the
    // machine's load; the prefix rule above holds for every one of them.
    std::printf("start-up %lld ms, import %lld ms; %d of %d kills left a part of the import\n",
                (long long)startup, (long long)span, partial, kKills);
}

} // namespace
} // namespace vellum
