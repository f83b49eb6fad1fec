#include "app/BatchDocumentCommands.h"

#include "app/BatchTool.h"
#include "appframe/AppFrame.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/StringList.h"
#include "commands/CardImage.h"
#include "commands/DocumentDump.h"
#include "commands/DocumentSession.h"
#include "core/DOList.h"
#include "core/DrawObject.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"
#include "paper/Papers.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace vellum {

namespace {

// Cards listed one by one; a paper claiming more is summarised.
constexpr int kListedCards = 1000;

[[noreturn]] void Usage(const QString& synopsis) {
    throw Exception(QStringLiteral("使い方: vellum4-batch ") + synopsis);
}

void CheckFileExists(const QString& fileName) {
    if (!QFileInfo(fileName).isFile())
        throw Exception(Format(QStringLiteral("ファイル %s が見つかりません"), fileName));
}

// Every failure to read becomes one line naming the file.
template <class F>
void Reading(const QString& fileName, F read) {
    CheckFileExists(fileName);
    try {
        read();
    } catch (const Exception& e) {
        throw Exception(Format(QStringLiteral("%s を読み込めません: %s"), fileName, e.Message()));
    } catch (const std::exception& e) {
        throw Exception(
            Format(QStringLiteral("%s を読み込めません: %s"), fileName, QString::fromUtf8(e.what())));
    }
}

void LoadDocument(TLabelData& document, const QString& fileName) {
    Reading(fileName, [&] { document.Load(fileName); });
}

QString YesNo(bool value) { return value ? QStringLiteral("はい") : QStringLiteral("いいえ"); }

int Info(const QStringList& args, QTextStream& out) {
    if (args.size() != 1) Usage(QStringLiteral("info FILE"));
    TLabelData document;
    LoadDocument(document, args[0]);
    TStringList names;
    document.GetSheetNames(names);
    out << Format(QStringLiteral("文書: %s"), args[0]) << '\n';
    out << Format(QStringLiteral("シート数: %d"), document.SheetCount()) << '\n';
    for (int s = 0; s < document.SheetCount(); ++s) {
        Reading(args[0], [&] { document.SwitchSheet(s); });
        out << Format(QStringLiteral("シート %d: %s"), s + 1,
                      s < names.Count() ? names.Strings(s) : QString())
            << '\n';
        const TPaperInfo* paper = document.Paper();
        if (!paper) {
            out << QStringLiteral("  用紙: なし") << '\n';
            continue;
        }
        out << Format(QStringLiteral("  用紙: %s"), paper->PaperName()) << '\n';
        out << Format(QStringLiteral("  用紙サイズ: %d x %d (0.1mm)"), paper->Width(), paper->Height())
            << '\n';
        out << Format(QStringLiteral("  面数: %d"), paper->FaceCount()) << '\n';
        out << Format(QStringLiteral("  向き: %s"),
                      paper->Landscape() ? QStringLiteral("横") : QStringLiteral("縦"))
            << '\n';
        out << Format(QStringLiteral("  個別デザイン: %s"), YesNo(document.SeparatelyDesign())) << '\n';
        const int cards = document.SeparatelyDesign() ? std::max(0, paper->FaceCount()) : 1;
        for (int i = 0; i < std::min(cards, kListedCards); ++i) {
            TOwnedDOList objects;
            Reading(args[0], [&] { document.LoadCard(i, objects); });
            QStringList kinds;
            for (const TDrawObject* object : objects) kinds << object->ClassName();
            out << Format(QStringLiteral("  カード %d: オブジェクト %d"), i + 1, objects.Count());
            if (!kinds.isEmpty()) out << QStringLiteral(" (") << kinds.join(QStringLiteral(", ")) << ')';
            out << '\n';
        }
        if (cards > kListedCards)
            out << Format(QStringLiteral("  カード %d〜%d: 省略"), kListedCards + 1, cards) << '\n';
    }
    return 0;
}

int Dump(const QStringList& args, QTextStream& out) {
    if (args.size() != 1) Usage(QStringLiteral("dump FILE"));
    Reading(args[0], [&] { DumpDocumentFile(args[0], out); });
    return 0;
}

// The program's catalogue, seeded into the program home as the program does.
void OpenCatalogue(TPapers& papers) {
    TAppFrame* frame = AppFrame();
    frame->SeedProgramHome();
    const QString fileName = frame->Expand(QStringLiteral("$(PaperInfo)"));
    if (!QFileInfo(fileName).isFile())
        throw Exception(
            Format(QStringLiteral("アプリケーションに必要なファイル「%s」が開けませんでした"), fileName));
    Reading(fileName, [&] { papers.Open(fileName, true); });
}

int Papers(const QStringList& args, QTextStream& out) {
    if (!args.isEmpty()) Usage(QStringLiteral("papers"));
    TPapers papers;
    OpenCatalogue(papers);
    out << Format(QStringLiteral("用紙カタログ: %s (%d 件)"), papers.FileName(), papers.Count()) << '\n';
    for (int i = 0; i < papers.Count(); ++i) {
        const TPaperInfo* paper = papers.Papers(i);
        out << Format(QStringLiteral("%d\t%s\t%s\t%d面\t%d x %d"), i, paper->PaperName(), paper->GroupName(),
                      paper->FaceCount(), paper->Width(), paper->Height())
            << '\n';
    }
    papers.Close();
    return 0;
}

// A new document as the program's New makes it.
int New(const QStringList& args, QTextStream& out) {
    const QString synopsis = QStringLiteral("new [--paper NAME] [--landscape] OUT");
    TNewDocumentOptions options;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--paper")) {
            if (i + 1 >= args.size())
                throw Exception(Format(QStringLiteral("--paper に用紙名がありません (%s)"), synopsis));
            options.PaperName = args[++i];
        } else if (a == QStringLiteral("--landscape")) {
            options.Landscape = true;
        } else if (a.startsWith(QStringLiteral("--"))) {
            throw Exception(Format(QStringLiteral("不明なオプションです: %s (%s)"), a, synopsis));
        } else {
            files << a;
        }
    }
    if (files.size() != 1) Usage(synopsis);
    TPapers papers;
    OpenCatalogue(papers);
    if (papers.Count() == 0)
        throw Exception(Format(QStringLiteral("用紙カタログ %s に用紙がありません"), papers.FileName()));
    if (options.PaperName && papers.IndexOfName(*options.PaperName) < 0)
        throw Exception(Format(QStringLiteral("用紙 \"%s\" は用紙カタログにありません"), *options.PaperName));
    TDocumentSession session(&papers, nullptr);
    session.NewDocument(options);
    // A failed save has told why on standard error.
    if (!session.SaveTo(files[0])) return 1;
    out << Format(QStringLiteral("%s を作成しました (用紙 %s)"), files[0],
                  session.Document().Paper()->PaperName())
        << '\n';
    return 0;
}

// Loads (upgrading older documents) and saves under the new name.
int Convert(const QStringList& args, QTextStream& out) {
    if (args.size() != 2) Usage(QStringLiteral("convert IN OUT"));
    CheckFileExists(args[0]);
    TDocumentSession session(nullptr, nullptr);
    if (!session.Open(args[0]) || !session.SaveTo(args[1])) return 1;
    out << Format(QStringLiteral("%s を %s に変換しました"), args[0], args[1]) << '\n';
    return 0;
}

// A 1-based number in 1..count.
int NumberOf(const QString& option, const QString& text, int count, const QString& synopsis) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || text.startsWith(u'+')) {
        throw Exception(
            Format(QStringLiteral("%s の値 \"%s\" は番号ではありません (%s)"), option, text, synopsis));
    }
    if (n < 1 || n > count)
        throw Exception(Format(QStringLiteral("%s %d は範囲外です (1〜%d)"), option, n, count));
    return n - 1;
}

int Export(const QStringList& args, QTextStream& out) {
    const QString synopsis = QStringLiteral("export FILE [--sheet N] [--card N] OUT.bmp|OUT.jpg");
    QStringList files;
    QString sheetText = QStringLiteral("1"), cardText = QStringLiteral("1");
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--sheet") || a == QStringLiteral("--card")) {
            if (i + 1 >= args.size())
                throw Exception(Format(QStringLiteral("%s に番号がありません (%s)"), a, synopsis));
            (a == QStringLiteral("--sheet") ? sheetText : cardText) = args[++i];
        } else if (a.startsWith(QStringLiteral("--"))) {
            throw Exception(Format(QStringLiteral("不明なオプションです: %s (%s)"), a, synopsis));
        } else {
            files << a;
        }
    }
    if (files.size() != 2) Usage(synopsis);
    const QString& output = files[1];
    const QString suffix = QFileInfo(output).suffix().toLower();
    TCardImageFormat format;
    if (suffix == QStringLiteral("bmp"))
        format = TCardImageFormat::cfBitmap;
    else if (suffix == QStringLiteral("jpg") || suffix == QStringLiteral("jpeg"))
        format = TCardImageFormat::cfJpeg;
    else
        throw Exception(
            Format(QStringLiteral("出力ファイル %s の拡張子は .bmp か .jpg にしてください"), output));

    TLabelData document;
    LoadDocument(document, files[0]);
    const int sheet = NumberOf(QStringLiteral("--sheet"), sheetText, document.SheetCount(), synopsis);
    Reading(files[0], [&] { document.SwitchSheet(sheet); });
    const TPaperInfo* paper = document.Paper();
    if (!paper) throw Exception(Format(QStringLiteral("シート %d に用紙がありません"), sheet + 1));
    const int card = NumberOf(QStringLiteral("--card"), cardText, paper->FaceCount(), synopsis);
    ExportCardImage(document, card, output, format);
    out << Format(QStringLiteral("%s を出力しました (シート %d, カード %d)"), output, sheet + 1, card + 1)
        << '\n';
    return 0;
}

} // namespace

void AddDocumentCommands(TBatchTool& tool) {
    tool.AddCommand(QStringLiteral("info"), QStringLiteral("info FILE"),
                    QStringLiteral("文書のシート、用紙、カードごとのオブジェクトを表示します"), Info);
    tool.AddCommand(QStringLiteral("dump"), QStringLiteral("dump FILE"),
                    QStringLiteral("文書のストレージ構成とコンポーネントストリームの内容を表示します"), Dump);
    tool.AddCommand(QStringLiteral("new"), QStringLiteral("new [--paper NAME] [--landscape] OUT"),
                    QStringLiteral("既定の用紙 (または NAME) で新規文書を作成します"), New);
    tool.AddCommand(QStringLiteral("convert"), QStringLiteral("convert IN OUT"),
                    QStringLiteral("文書を読み込み (旧版は変換し) OUT に保存します"), Convert);
    tool.AddCommand(QStringLiteral("papers"), QStringLiteral("papers"),
                    QStringLiteral("用紙カタログの用紙を一覧表示します"), Papers);
    tool.AddCommand(QStringLiteral("export"),
                    QStringLiteral("export FILE [--sheet N] [--card N] OUT.bmp|OUT.jpg"),
                    QStringLiteral(
                        "シート N (1〜) のカード N (1〜) の名刺イメージを BMP か JPEG で出力します"),
                    Export);
}

} // namespace vellum
