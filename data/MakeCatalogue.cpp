// Writes the shipped paper catalogue from its text table:
//   vellum-make-catalogue papers.txt vellum4.ppr
#include "base/Exceptions.h"
#include "paper/FreePaperInfo.h"
#include "paper/MatrixPaperInfo.h"
#include "paper/PaperClasses.h"
#include "paper/Papers.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <stdexcept>

using namespace vellum;

namespace {

struct TEntry {
    QString Name;
    int Line = 0;
    std::multimap<QString, QString> Values; // keys in file order per key
};

[[noreturn]] void Fail(const TEntry& e, const QString& what) {
    throw std::runtime_error(
        QStringLiteral("%1 (line %2): %3").arg(e.Name).arg(e.Line).arg(what).toStdString());
}

QString Value(const TEntry& e, const char* key, const QString& fallback = QString(), bool required = false) {
    auto it = e.Values.find(QString::fromLatin1(key));
    if (it == e.Values.end()) {
        if (required) Fail(e, QStringLiteral("missing \"%1\"").arg(QString::fromLatin1(key)));
        return fallback;
    }
    return it->second;
}

// The integers of a value ("2100 x 2970", "140, 110"), exactly count of them.
std::vector<int32_t> Numbers(const TEntry& e, const QString& text, size_t count) {
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    std::vector<int32_t> out;
    for (auto it = number.globalMatch(text); it.hasNext();) out.push_back(it.next().captured().toInt());
    if (out.size() != count) Fail(e, QStringLiteral("expected %1 numbers in \"%2\"").arg(count).arg(text));
    return out;
}

TFaceShape Shape(const TEntry& e, const QString& name) {
    const int index = int(FaceShapeNames().indexOf(name.trimmed()));
    if (index < 0) Fail(e, QStringLiteral("unknown shape \"%1\"").arg(name));
    return TFaceShape(index);
}

std::vector<TEntry> Parse(const QString& text, TEntry& defaults) {
    std::vector<TEntry> entries;
    TEntry* current = &defaults;
    int lineNo = 0;
    for (QString line : text.split(u'\n')) {
        ++lineNo;
        if (int hash = int(line.indexOf(u'#')); hash >= 0) line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty()) continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            entries.push_back({line.mid(1, line.size() - 2).trimmed(), lineNo, {}});
            current = &entries.back();
            continue;
        }
        const int eq = int(line.indexOf(u'='));
        if (eq <= 0)
            throw std::runtime_error(
                QStringLiteral("line %1: expected key = value").arg(lineNo).toStdString());
        current->Values.emplace(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return entries;
}

std::unique_ptr<TPaperInfo> MakePaper(const TEntry& e, const QString& purpose) {
    const QString kind = Value(e, "kind", {}, true);
    const std::vector<int32_t> sheet = Numbers(e, Value(e, "sheet", {}, true), 2);
    std::unique_ptr<TPaperInfo> paper;
    if (kind == QStringLiteral("matrix")) {
        auto m = std::make_unique<TMatrixPaperInfo>();
        const auto grid = Numbers(e, Value(e, "grid", {}, true), 2);
        const auto offset = Numbers(e, Value(e, "offset", {}, true), 2);
        const auto face = Numbers(e, Value(e, "face", {}, true), 2);
        const auto gap = Numbers(e, Value(e, "gap", QStringLiteral("0, 0")), 2);
        m->FaceCountX = grid[0];
        m->FaceCountY = grid[1];
        m->LeftOffset = offset[0];
        m->TopOffset = offset[1];
        m->FaceWidth = face[0];
        m->FaceHeight = face[1];
        m->RightMargin = gap[0];
        m->BottomMargin = gap[1];
        m->Face.Shape = Shape(e, Value(e, "shape", QStringLiteral("fsRect")));
        m->Face.RoundSize = Numbers(e, Value(e, "round", QStringLiteral("100")), 1)[0];
        m->Face.Margin = Numbers(e, Value(e, "margin", QStringLiteral("0")), 1)[0];
        m->Face.Purpose = purpose;
        paper = std::move(m);
    } else if (kind == QStringLiteral("free")) {
        auto f = std::make_unique<TFreePaperInfo>();
        auto [first, last] = e.Values.equal_range(QStringLiteral("face"));
        for (auto it = first; it != last; ++it) {
            const QStringList parts = it->second.split(u',');
            if (parts.size() < 3) Fail(e, QStringLiteral("a face needs left, top, width x height"));
            TFaceItem* item = f->Faces().Add();
            const auto size = Numbers(e, parts[2], 2);
            item->Rect = Bounds(Numbers(e, parts[0], 1)[0], Numbers(e, parts[1], 1)[0], size[0], size[1]);
            if (parts.size() > 3) item->Face.Shape = Shape(e, parts[3]);
            if (parts.size() > 4) item->Face.Margin = Numbers(e, parts[4], 1)[0];
            if (parts.size() > 5) item->Face.RoundSize = Numbers(e, parts[5], 1)[0];
            item->Face.Purpose = purpose;
        }
        if (f->FaceCount() == 0) Fail(e, QStringLiteral("a free paper needs faces"));
        paper = std::move(f);
    } else {
        Fail(e, QStringLiteral("unknown kind \"%1\"").arg(kind));
    }
    paper->SetPortraitSize(sheet[0], sheet[1]);
    paper->SetPaperName(e.Name);
    paper->SetReadOnly(true);
    if (paper->FirstFaceOutside() >= 0)
        Fail(e, QStringLiteral("face %1 leaves the sheet").arg(paper->FirstFaceOutside()));
    if (paper->FirstOverlappingFace() >= 0)
        Fail(e, QStringLiteral("face %1 overlaps another").arg(paper->FirstOverlappingFace()));
    return paper;
}

void Generate(const QString& tableFile, const QString& outFile) {
    QFile table(tableFile);
    if (!table.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + tableFile.toStdString());
    TEntry defaults{QStringLiteral("(settings)"), 0, {}};
    const std::vector<TEntry> entries = Parse(QString::fromUtf8(table.readAll()), defaults);
    const QString group = Value(defaults, "group", {}, true);
    const QString purpose = Value(defaults, "purpose", {}, true);
    const QString purposeName = Value(defaults, "purpose-name", purpose);

    RegisterPaperClasses();
    // Always written anew, so the output follows the table only.
    if (QFile::exists(outFile) && !QFile::remove(outFile))
        throw std::runtime_error("cannot replace " + outFile.toStdString());
    TPapers papers;
    papers.Open(outFile, false);
    for (const TEntry& e : entries) {
        if (papers.IndexOfName(e.Name) >= 0) Fail(e, QStringLiteral("the name is used twice"));
        std::unique_ptr<TPaperInfo> paper = MakePaper(e, purpose);
        paper->SetGroupName(group);
        paper->PurposeList().SetDefault();
        TPurposeInfo* own = paper->PurposeList().AddItem();
        own->ID = purpose;
        own->DisplayName = purposeName;
        own->ShapeMask = FaceShapeBit(TFaceShape::fsRect) | FaceShapeBit(TFaceShape::fsRoundRect);
        papers.Store(*paper);
    }
    papers.Close();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s papers.txt vellum4.ppr\n", argv[0]);
        return 2;
    }
    try {
        Generate(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
