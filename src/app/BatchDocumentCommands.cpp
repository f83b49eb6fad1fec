#include "app/BatchDocumentCommands.h"

#include "app/BatchTool.h"
#include "appframe/AppFrame.h"
#include "base/ComponentDump.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "base/StringList.h"
#include "commands/CardImage.h"
#include "core/CompressedStream.h"
#include "core/DOList.h"
#include "core/DrawObject.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"
#include "paper/Papers.h"
#include "platform/CompoundFile.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace vellum {

namespace {

// Cards listed one by one; a paper claiming more is summarised.
constexpr int kListedCards = 1000;
// Deeper storages are shown at this indentation with their depth.
constexpr int kMaxIndent = 32;

[[noreturn]] void Usage(const QString& synopsis) {
    throw Exception(QStringLiteral("使い方: vellum4-batch ") + synopsis);
}

void CheckFileExists(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) throw Exception(Format(QStringLiteral("ファイル %s が見つかりません"), fileName));
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
        throw Exception(Format(QStringLiteral("%s を読み込めません: %s"), fileName, QString::fromUtf8(e.what())));
    }
}

void LoadDocument(TLabelData& document, const QString& fileName) {
    Reading(fileName, [&] { document.Load(fileName); });
}

QString YesNo(bool value) { return value ? QStringLiteral("はい") : QStringLiteral("いいえ"); }

// Control characters of element names (such as 0x05 of property sets) shown as \xNN.
QString Printable(const QString& name) {
    QString out;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

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
        out << Format(QStringLiteral("シート %d: %s"), s + 1, s < names.Count() ? names.Strings(s) : QString())
            << '\n';
        const TPaperInfo* paper = document.Paper();
        if (!paper) {
            out << QStringLiteral("  用紙: なし") << '\n';
            continue;
        }
        out << Format(QStringLiteral("  用紙: %s"), paper->PaperName()) << '\n';
        out << Format(QStringLiteral("  用紙サイズ: %d x %d (0.1mm)"), paper->Width(), paper->Height()) << '\n';
        out << Format(QStringLiteral("  面数: %d"), paper->FaceCount()) << '\n';
        out << Format(QStringLiteral("  向き: %s"), paper->Landscape() ? QStringLiteral("横") : QStringLiteral("縦"))
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

bool IsComponentStream(const QByteArray& bytes) {
    return bytes.startsWith("TPF0") || bytes.startsWith(QByteArray("\xFF\x0A\x00", 3));
}

// The stream's bytes, unpacked when they are in the compressed container.
QByteArray Unpacked(const QByteArray& bytes, bool& compressed) {
    TMemoryStream source(bytes);
    int32_t length = 0;
    compressed = IsCompressed(source, length);
    if (!compressed) return bytes;
    TMemoryStream data;
    DecompressTo(source, data, length);
    return data.Data();
}

int Dump(const QStringList& args, QTextStream& out) {
    if (args.size() != 1) Usage(QStringLiteral("dump FILE"));
    std::shared_ptr<TCompoundNode> root;
    Reading(args[0], [&] {
        if (IsCompressedFile(args[0])) {
            bool compressed = false;
            TMemoryStream file;
            file.LoadFromFile(args[0]);
            root = ReadCompoundFile(Unpacked(file.Data(), compressed));
        } else {
            root = LoadCompoundFile(args[0]);
        }
    });

    // The tree first, then the component streams it holds. Walked with a
    // stack: trees read from files may be deep.
    struct TEntry {
        const TCompoundNode* Node;
        QString Path;
        int Depth;
    };
    std::vector<std::pair<QString, const TCompoundNode*>> streams;
    std::vector<TEntry> stack{{root.get(), QString(), 0}};
    out << QStringLiteral("ストレージ構成:") << '\n';
    while (!stack.empty()) {
        const TEntry e = stack.back();
        stack.pop_back();
        const int indent = std::min(e.Depth, kMaxIndent);
        QString line(indent * 2, u' ');
        if (e.Depth > kMaxIndent) line += Format(QStringLiteral("[深さ %d] "), e.Depth);
        if (e.Node == root.get()) {
            line += Format(QStringLiteral("\\ (ルート, %d 要素)"), e.Node->ChildCount());
        } else if (e.Node->IsStorage()) {
            line += Format(QStringLiteral("%s\\ (ストレージ, %d 要素)"), Printable(e.Node->Name()), e.Node->ChildCount());
        } else {
            line += Format(QStringLiteral("%s (ストリーム, %d バイト)"), Printable(e.Node->Name()),
                           int64_t(e.Node->Data().size()));
            streams.emplace_back(e.Path, e.Node);
        }
        out << line << '\n';
        const auto& children = e.Node->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const QString name = Printable(it->second->Name());
            stack.push_back({it->second.get(), e.Path.isEmpty() ? name : e.Path + u'\\' + name, e.Depth + 1});
        }
    }

    for (const auto& [path, node] : streams) {
        bool compressed = false;
        QByteArray bytes;
        try {
            bytes = Unpacked(node->Data(), compressed);
        } catch (const Exception& e) {
            out << '\n' << Format(QStringLiteral("== %s (圧縮) =="), path) << '\n';
            out << Format(QStringLiteral("!! %s"), e.Message()) << '\n';
            continue;
        }
        if (!IsComponentStream(bytes)) continue;
        out << '\n'
            << (compressed ? Format(QStringLiteral("== %s (圧縮, 展開後 %d バイト) =="), path, int64_t(bytes.size()))
                           : Format(QStringLiteral("== %s =="), path))
            << '\n';
        out << DumpComponentBytes(bytes);
    }
    return 0;
}

int Papers(const QStringList& args, QTextStream& out) {
    if (!args.isEmpty()) Usage(QStringLiteral("papers"));
    TAppFrame* frame = AppFrame();
    frame->SeedProgramHome();
    const QString fileName = frame->Expand(QStringLiteral("$(PaperInfo)"));
    if (!QFileInfo(fileName).isFile())
        throw Exception(Format(QStringLiteral("アプリケーションに必要なファイル「%s」が開けませんでした"), fileName));
    TPapers papers;
    Reading(fileName, [&] { papers.Open(fileName, true); });
    out << Format(QStringLiteral("用紙カタログ: %s (%d 件)"), fileName, papers.Count()) << '\n';
    for (int i = 0; i < papers.Count(); ++i) {
        const TPaperInfo* paper = papers.Papers(i);
        out << Format(QStringLiteral("%d\t%s\t%s\t%d面\t%d x %d"), i, paper->PaperName(), paper->GroupName(),
                      paper->FaceCount(), paper->Width(), paper->Height())
            << '\n';
    }
    papers.Close();
    return 0;
}

// A 1-based number in 1..count.
int NumberOf(const QString& option, const QString& text, int count, const QString& synopsis) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || text.startsWith(u'+')) {
        throw Exception(Format(QStringLiteral("%s の値 \"%s\" は番号ではありません (%s)"), option, text, synopsis));
    }
    if (n < 1 || n > count) throw Exception(Format(QStringLiteral("%s %d は範囲外です (1〜%d)"), option, n, count));
    return n - 1;
}

int Export(const QStringList& args, QTextStream& out) {
    const QString synopsis = QStringLiteral("export FILE [--sheet N] [--card N] OUT.bmp|OUT.jpg");
    QStringList files;
    QString sheetText = QStringLiteral("1"), cardText = QStringLiteral("1");
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--sheet") || a == QStringLiteral("--card")) {
            if (i + 1 >= args.size()) throw Exception(Format(QStringLiteral("%s に番号がありません (%s)"), a, synopsis));
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
        throw Exception(Format(QStringLiteral("出力ファイル %s の拡張子は .bmp か .jpg にしてください"), output));

    TLabelData document;
    LoadDocument(document, files[0]);
    const int sheet = NumberOf(QStringLiteral("--sheet"), sheetText, document.SheetCount(), synopsis);
    Reading(files[0], [&] { document.SwitchSheet(sheet); });
    const TPaperInfo* paper = document.Paper();
    if (!paper) throw Exception(Format(QStringLiteral("シート %d に用紙がありません"), sheet + 1));
    const int card = NumberOf(QStringLiteral("--card"), cardText, paper->FaceCount(), synopsis);
    ExportCardImage(document, card, output, format);
    out << Format(QStringLiteral("%s を出力しました (シート %d, カード %d)"), output, sheet + 1, card + 1) << '\n';
    return 0;
}

} // namespace

void AddDocumentCommands(TBatchTool& tool) {
    tool.AddCommand(QStringLiteral("info"), QStringLiteral("info FILE"),
                    QStringLiteral("文書のシート、用紙、カードごとのオブジェクトを表示します"), Info);
    tool.AddCommand(QStringLiteral("dump"), QStringLiteral("dump FILE"),
                    QStringLiteral("文書のストレージ構成とコンポーネントストリームの内容を表示します"), Dump);
    tool.AddCommand(QStringLiteral("papers"), QStringLiteral("papers"),
                    QStringLiteral("用紙カタログの用紙を一覧表示します"), Papers);
    tool.AddCommand(QStringLiteral("export"), QStringLiteral("export FILE [--sheet N] [--card N] OUT.bmp|OUT.jpg"),
                    QStringLiteral("シート N (1〜) のカード N (1〜) の名刺イメージを BMP か JPEG で出力します"), Export);
}

} // namespace vellum
