#include "app/BatchProfileCommands.h"

#include "app/BatchTool.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "commands/ProfileDBFile.h"
#include "profile/ProfileCSV.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileInfo2.h"

#include <QFileInfo>

namespace vellum {
namespace {

const QString kSynopsis = QStringLiteral(
    "profiles list [--db FILE] | profiles import [--skip-first] [--map-by-title] [--clear] "
    "[--encoding cp932|utf8] [--db FILE] CSV | profiles export [--titles] [--encoding cp932|utf8] "
    "[--db FILE] CSV");

[[noreturn]] void Usage() { throw Exception(QStringLiteral("使い方: vellum4-batch ") + kSynopsis); }

struct TArguments {
    QString DB;
    QStringList Files;
    QStringList Flags;
    std::optional<TCSVEncoding> Encoding;
};

TArguments Parse(const QStringList& args, const QStringList& flags) {
    TArguments parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--db") || a == QStringLiteral("--encoding")) {
            if (i + 1 >= args.size()) Usage();
            const QString value = args[++i];
            if (a == QStringLiteral("--db")) {
                parsed.DB = value;
            } else if (value.compare(QStringLiteral("cp932"), Qt::CaseInsensitive) == 0) {
                parsed.Encoding = TCSVEncoding::Cp932;
            } else if (value.compare(QStringLiteral("utf8"), Qt::CaseInsensitive) == 0 ||
                       value.compare(QStringLiteral("utf-8"), Qt::CaseInsensitive) == 0) {
                parsed.Encoding = TCSVEncoding::Utf8;
            } else {
                throw Exception(Format(QStringLiteral("不明な文字コードです: %s (cp932 か utf8)"), value));
            }
        } else if (a.startsWith(QStringLiteral("--"))) {
            if (!flags.contains(a)) throw Exception(Format(QStringLiteral("不明なオプションです: %s"), a));
            parsed.Flags << a;
        } else {
            parsed.Files << a;
        }
    }
    if (parsed.DB.isEmpty()) parsed.DB = ProfileDBFileName();
    return parsed;
}

// Opening failures become one line naming the file.
void OpenDB(TProfileDB2& db, const QString& fileName) {
    db.SetFileName(fileName);
    try {
        db.Open();
    } catch (const Exception& e) {
        throw Exception(
            Format(QStringLiteral("プロフィールファイル %s を開けません: %s"), fileName, e.Message()));
    }
}

int List(const QStringList& args, QTextStream& out) {
    const TArguments a = Parse(args, {});
    if (!a.Files.isEmpty()) Usage();
    if (!QFileInfo(a.DB).isFile())
        throw Exception(Format(QStringLiteral("ファイル %s が見つかりません"), a.DB));
    TProfileDB2 db;
    OpenDB(db, a.DB);
    out << Format(QStringLiteral("プロフィール: %s (%d 件)"), a.DB, db.Count()) << '\n';
    TProfileInfo2 p;
    for (int i = 0; i < db.Count(); ++i) {
        db.ReadHeader(i, p);
        out << Format(QStringLiteral("%d\t%s\t%s\t%s\t%s"), i, p.GetValue(0), p.GetValue(1), p.GetValue(2),
                      p.GetValue(23))
            << '\n';
    }
    return 0;
}

int Import(const QStringList& args, QTextStream& out) {
    const TArguments a = Parse(args, {"--skip-first", "--map-by-title", "--clear"});
    if (a.Files.size() != 1) Usage();
    TCSVData data;
    LoadCSVFile(data, a.Files[0], a.Encoding);
    TCSVImportOptions options;
    options.SkipFirstLine = a.Flags.contains(QStringLiteral("--skip-first"));
    options.ClearFirst = a.Flags.contains(QStringLiteral("--clear"));
    if (a.Flags.contains(QStringLiteral("--map-by-title")))
        options.Mapping = MappingByTitle(data.Count() > 0 ? data.Row(0).Items() : QStringList());
    TProfileDB2 db;
    OpenDB(db, a.DB);
    const int added = ImportProfiles(db, data, options);
    const int count = db.Count();
    db.Close();
    out << Format(QStringLiteral("%d 件のプロフィールを読み込みました (全 %d 件)"), added, count) << '\n';
    return 0;
}

int Export(const QStringList& args, QTextStream& out) {
    const TArguments a = Parse(args, {"--titles"});
    if (a.Files.size() != 1) Usage();
    if (!QFileInfo(a.DB).isFile())
        throw Exception(Format(QStringLiteral("ファイル %s が見つかりません"), a.DB));
    TProfileDB2 db;
    OpenDB(db, a.DB);
    TCSVExportOptions options;
    options.Titles = a.Flags.contains(QStringLiteral("--titles"));
    options.Encoding = a.Encoding.value_or(TCSVEncoding::Cp932);
    const int rows = ExportProfiles(db, a.Files[0], options);
    out << Format(QStringLiteral("%d 件のプロフィールを出力しました"), rows) << '\n';
    return 0;
}

} // namespace

void AddProfileCommands(TBatchTool& tool) {
    tool.AddCommand(QStringLiteral("profiles"), kSynopsis,
                    QStringLiteral(
                        "プロフィールデータの一覧、CSV形式での入力と出力 (--db の既定はプログラムの"
                        "プロフィールファイル)"),
                    [](const QStringList& args, QTextStream& out) {
                        if (args.isEmpty()) Usage();
                        const QString sub = args[0];
                        if (sub == QStringLiteral("list")) return List(args.mid(1), out);
                        if (sub == QStringLiteral("import")) return Import(args.mid(1), out);
                        if (sub == QStringLiteral("export")) return Export(args.mid(1), out);
                        Usage();
                    });
}

} // namespace vellum
