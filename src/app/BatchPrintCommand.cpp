#include "app/BatchPrintCommand.h"

#include "app/BatchTool.h"
#include "appframe/AppFrame.h"
#include "base/DateTime.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "commands/DocumentSession.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"
#include "print/PrintSite.h"
#include "print/PrintTarget.h"

#include <QFileInfo>

namespace vellum {

namespace {

const QString kSynopsis = QStringLiteral(
    "print FILE --pdf OUT.pdf [--sheet N] [--count N] [--cards all|N,N-M] [--cut none|dotted|crop|cross] "
    "[--frame] [--paper-image] [--offset X,Y] [--banding 0|1|2]");

[[noreturn]] void Bad(const QString& option, const QString& value) {
    throw Exception(
        Format(QStringLiteral("%s の値 \"%s\" が正しくありません (%s)"), option, value, kSynopsis));
}

int IntegerOf(const QString& option, const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < minimum || n > maximum) Bad(option, text);
    return n;
}

// "all", or 1-based numbers and ranges: "1,3-5".
void SelectCards(TPrintSpec& job, const QString& text, int cards) {
    job.AllFaces = text == QStringLiteral("all");
    if (job.AllFaces) return;
    for (const QString& part : text.split(u',')) {
        const QStringList ends = part.split(u'-');
        if (ends.size() > 2) Bad(QStringLiteral("--cards"), text);
        const int first = IntegerOf(QStringLiteral("--cards"), ends.front(), 1, cards);
        const int last = IntegerOf(QStringLiteral("--cards"), ends.back(), first, cards);
        for (int i = first; i <= last; ++i) job.SetSelected(i - 1, true);
    }
}

TCutLineKind CutKindOf(const QString& text) {
    const QStringList names{QStringLiteral("none"), QStringLiteral("dotted"), QStringLiteral("crop"),
                            QStringLiteral("cross")};
    const int i = names.indexOf(text);
    if (i < 0) Bad(QStringLiteral("--cut"), text);
    return TCutLineKind(i);
}

int Print(const QStringList& args, QTextStream& out) {
    QStringList files;
    QString pdf, sheetText = QStringLiteral("1"), countText = QStringLiteral("1"),
                 cardsText = QStringLiteral("all"), cutText = QStringLiteral("none"), offsetText;
    std::optional<QString> bandingText;
    TPrintSpec job;
    const auto value = [&](int& i) -> QString {
        if (i + 1 >= args.size())
            throw Exception(Format(QStringLiteral("%s に値がありません (%s)"), args[i], kSynopsis));
        return args[++i];
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--pdf"))
            pdf = value(i);
        else if (a == QStringLiteral("--sheet"))
            sheetText = value(i);
        else if (a == QStringLiteral("--count"))
            countText = value(i);
        else if (a == QStringLiteral("--cards"))
            cardsText = value(i);
        else if (a == QStringLiteral("--cut"))
            cutText = value(i);
        else if (a == QStringLiteral("--offset"))
            offsetText = value(i);
        else if (a == QStringLiteral("--banding"))
            bandingText = value(i);
        else if (a == QStringLiteral("--frame"))
            job.PrintFrame = true;
        else if (a == QStringLiteral("--paper-image"))
            job.PrintPaperImage = true;
        else if (a.startsWith(QStringLiteral("--")))
            throw Exception(Format(QStringLiteral("不明なオプションです: %s (%s)"), a, kSynopsis));
        else
            files << a;
    }
    if (files.size() != 1 || pdf.isEmpty())
        throw Exception(QStringLiteral("使い方: vellum4-batch ") + kSynopsis);
    if (QFileInfo(pdf).suffix().toLower() != QStringLiteral("pdf"))
        throw Exception(Format(QStringLiteral("出力ファイル %s の拡張子は .pdf にしてください"), pdf));
    if (!QFileInfo(files[0]).isFile())
        throw Exception(Format(QStringLiteral("ファイル %s が見つかりません"), files[0]));

    TDocumentSession session(nullptr, nullptr);
    // A failed open has told why on standard error.
    if (!session.Open(files[0])) return 1;
    TLabelData& document = session.Document();
    const int sheet = IntegerOf(QStringLiteral("--sheet"), sheetText, 1, document.SheetCount()) - 1;
    document.SwitchSheet(sheet);
    const TPaperInfo* paper = document.Paper();
    if (!paper) throw Exception(Format(QStringLiteral("シート %d に用紙がありません"), sheet + 1));
    job.PageCount = IntegerOf(QStringLiteral("--count"), countText, 1, 9999);
    job.FixedProfile = true;
    SelectCards(job, cardsText, paper->FaceCount());
    job.CutLineKind = CutKindOf(cutText);
    if (!offsetText.isEmpty()) {
        const QStringList xy = offsetText.split(u',');
        if (xy.size() != 2) Bad(QStringLiteral("--offset"), offsetText);
        job.Offset = {IntegerOf(QStringLiteral("--offset"), xy[0], -1000, 1000),
                      IntegerOf(QStringLiteral("--offset"), xy[1], -1000, 1000)};
    }
    document.SetLastPrint(NowDateTime());
    TPrintSite site(document, nullptr, job);
    TAppFrame* frame = AppFrame();
    site.SetBanding(bandingText ? IntegerOf(QStringLiteral("--banding"), *bandingText, 0, 2)
                    : frame     ? frame->ReadInteger(QStringLiteral("Banding"), 1)
                                : 1);
    site.SetJobTitle(session.PrintTitle());
    TPdfPrintTarget target(pdf);
    site.Execute(target);
    out << Format(QStringLiteral("%s に %d 枚印刷しました (シート %d)"), pdf, job.PageCount, sheet + 1)
        << '\n';
    return 0;
}

} // namespace

void AddPrintCommand(TBatchTool& tool) {
    tool.AddCommand(QStringLiteral("print"), kSynopsis,
                    QStringLiteral(
                        "シート N (1〜) を PDF ファイルに印刷します (カード、枚数、切り取り線、枠線、"
                        "位置補正、印刷方式を指定できます)"),
                    Print);
}

} // namespace vellum
