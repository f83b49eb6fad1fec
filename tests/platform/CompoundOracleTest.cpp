// Cross-checks with independent implementations: python3-olefile and libgsf's
// gsf tool read what we write, and we read what libgsf writes.
#include "platform/CompoundFile.h"

#include "CompoundTestUtil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellum;
using vellum::test::ListTree;
using vellum::test::Pattern;

namespace {

using TKind = TCompoundNode::TKind;

struct TRun {
    bool Ok = false;
    QByteArray Out, Err;
};

TRun RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    TRun r;
    if (!p.waitForStarted(10000)) return r;
    p.waitForFinished(300000);
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    r.Ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return r;
}

// A Python interpreter that has olefile, or an empty string.
QString OlefilePython() {
    for (const QString& candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")})
        if (RunTool(candidate, {QStringLiteral("-c"), QStringLiteral("import olefile")}).Ok) return candidate;
    return {};
}

QString Gsf() { return QStandardPaths::findExecutable(QStringLiteral("gsf")); }

const char* kOlefileLister = R"(
import sys, hashlib, olefile
ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
for e in ole.listdir(streams=True, storages=True):
    path = '/'.join(e)
    if ole.get_type(e) == olefile.STGTY_STREAM:
        data = ole.openstream(e).read()
        print('%s\tS\t%d\t%s' % (path, len(data), hashlib.md5(data).hexdigest()))
    else:
        print('%s\tD' % path)
)";

QStringList Lines(const QByteArray& out) {
    QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

QStringList OlefileListing(const QString& python, const QString& file) {
    TRun r = RunTool(python, {QStringLiteral("-c"), QString::fromUtf8(kOlefileLister), file});
    EXPECT_TRUE(r.Ok) << r.Err.toStdString();
    return Lines(r.Out);
}

QStringList GsfListing(const QString& gsf, const QString& file) {
    TRun r = RunTool(gsf, {QStringLiteral("list"), file});
    EXPECT_TRUE(r.Ok) << r.Err.toStdString();
    static const QRegularExpression line(
        QStringLiteral("^([df]) +(?:\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d +)?(\\d+) (.*)$"));
    QStringList lines;
    for (const QString& text : QString::fromUtf8(r.Out).split(u'\n', Qt::SkipEmptyParts)) {
        const auto m = line.match(text);
        if (!m.hasMatch() || m.captured(3) == QLatin1String("*root*")) continue;
        const QString path = m.captured(3);
        if (m.captured(1) == QLatin1String("d")) {
            lines << path + QStringLiteral("\tD");
            continue;
        }
        TRun cat = RunTool(gsf, {QStringLiteral("cat"), file, path});
        EXPECT_TRUE(cat.Ok) << path.toStdString();
        EXPECT_EQ(QString::number(cat.Out.size()), m.captured(2)) << path.toStdString();
        lines << QStringLiteral("%1\tS\t%2\t%3")
                     .arg(path)
                     .arg(cat.Out.size())
                     .arg(QString::fromLatin1(
                         QCryptographicHash::hash(cat.Out, QCryptographicHash::Md5).toHex()));
    }
    lines.sort();
    return lines;
}

// Boundary sizes, a Japanese and a 31-unit name, nested and empty storages.
std::shared_ptr<TCompoundNode> OracleTree(bool difatSized) {
    auto root = TCompoundNode::NewRoot();
    int seed = 100;
    for (int size : {0, 1, 64, 4095, 4096, 4097, 20000})
        root->AddChild(TKind::Stream, QStringLiteral("size%1").arg(size))->Data() = Pattern(size, ++seed);
    auto sub = root->AddChild(TKind::Storage, QStringLiteral("用紙情報"));
    sub->AddChild(TKind::Stream, QStringLiteral("表面"))->Data() = Pattern(300, ++seed);
    sub->AddChild(TKind::Stream, QString(31, u'L'))->Data() = Pattern(5000, ++seed);
    sub->AddChild(TKind::Storage, QStringLiteral("Empty"));
    auto deep = sub->AddChild(TKind::Storage, QStringLiteral("Deep"));
    for (int i = 0; i < 40; ++i)
        deep->AddChild(TKind::Stream, QStringLiteral("NameList%1").arg(i))->Data() = Pattern(i * 37, ++seed);
    if (difatSized)
        root->AddChild(TKind::Stream, QStringLiteral("large"))->Data() = Pattern(8 * 1024 * 1024, ++seed);
    return root;
}

QString WriteTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

} // namespace

TEST(CompoundFileOracle, OlefileReadsWhatWeWrite) {
    const QString python = OlefilePython();
    if (python.isEmpty()) GTEST_SKIP() << "python3-olefile is not installed";
    QTemporaryDir tmp;
    for (bool difat : {false, true}) {
        auto root = OracleTree(difat);
        const QString file = WriteTemp(tmp, QStringLiteral("ours.cfb"), WriteCompoundFile(*root));
        EXPECT_EQ(OlefileListing(python, file), ListTree(*root)) << "DIFAT-sized: " << difat;
    }
}

TEST(CompoundFileOracle, GsfReadsWhatWeWrite) {
    const QString gsf = Gsf();
    if (gsf.isEmpty()) GTEST_SKIP() << "libgsf-bin is not installed";
    QTemporaryDir tmp;
    for (bool difat : {false, true}) {
        auto root = OracleTree(difat);
        const QString file = WriteTemp(tmp, QStringLiteral("ours.cfb"), WriteCompoundFile(*root));
        EXPECT_EQ(GsfListing(gsf, file), ListTree(*root, true)) << "DIFAT-sized: " << difat;
    }
}

TEST(CompoundFileOracle, WeReadWhatGsfWrites) {
    const QString gsf = Gsf();
    if (gsf.isEmpty()) GTEST_SKIP() << "libgsf-bin is not installed";
    QTemporaryDir tmp;
    QDir src(tmp.filePath(QStringLiteral("src")));
    ASSERT_TRUE(src.mkpath(QStringLiteral("名刺/inner")));
    ASSERT_TRUE(src.mkpath(QStringLiteral("hollow")));
    int seed = 7;
    auto put = [&](const QString& rel, qsizetype size) {
        QFile f(src.filePath(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Pattern(size, ++seed));
    };
    for (int size : {0, 64, 4095, 4096, 70000, 8 * 1024 * 1024})
        put(QStringLiteral("file%1").arg(size), size);
    put(QStringLiteral("名刺/表面データ"), 1234);
    put(QStringLiteral("名刺/inner/") + QString(31, u'z'), 99);
    QStringList args{QStringLiteral("createole"), tmp.filePath(QStringLiteral("gsf.cfb"))};
    for (const QString& e : src.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) args << src.filePath(e);
    TRun r = RunTool(gsf, args);
    ASSERT_TRUE(r.Ok) << r.Err.toStdString();

    QFile f(tmp.filePath(QStringLiteral("gsf.cfb")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    auto root = ReadCompoundFile(f.readAll());
    const QStringList ours = ListTree(*root);
    EXPECT_EQ(ListTree(*root, true), GsfListing(gsf, f.fileName()));
    EXPECT_TRUE(ours.contains(
        QStringLiteral("名刺/inner/") + QString(31, u'z') + QStringLiteral("\tS\t99\t") +
        QString::fromLatin1(QCryptographicHash::hash(Pattern(99, 15), QCryptographicHash::Md5).toHex())));
    EXPECT_TRUE(ours.contains(QStringLiteral("hollow\tD")));
    EXPECT_EQ(ours.size(), 11);
}

TEST(CompoundFileOracle, HandMadeVersion4FileReadsAlikeInOlefile) {
    const QString python = OlefilePython();
    if (python.isEmpty()) GTEST_SKIP() << "python3-olefile is not installed";
    QTemporaryDir tmp;
    const QByteArray image = test::HandMadeV4();
    const QString file = WriteTemp(tmp, QStringLiteral("v4.cfb"), image);
    EXPECT_EQ(OlefileListing(python, file), ListTree(*ReadCompoundFile(image)));
}
