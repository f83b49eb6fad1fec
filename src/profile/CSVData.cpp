#include "profile/CSVData.h"

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Stream.h"
#include "profile/QuickSort.h"

#include <algorithm>

namespace vellum {
namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

} // namespace

TCSVData::TCSVData() : FLines(*this) {
    FRow.OnChange = [this] {
        if (FRowIndex < 0 || FRowIndex >= FLines.Count()) return;
        FLines.SetStrings(FRowIndex, FRow.Line());
    };
    FTitle.OnChange = [this] { FChanged = true; };
}

TCSVData::~TCSVData() = default;

void TCSVData::CheckIndex(int i, const char* message) const {
    if (i < 0 || i >= FLines.Count()) throw ECSVDataBase(QString::fromLatin1(message));
}

void TCSVData::AssignLines(const QStringList& source) {
    FLines.SetItems(source);
    FRowIndex = -1;
}

TCSVStringList& TCSVData::Row(int i) {
    CheckIndex(i, "Out Of Index");
    FRowIndex = -1;
    FRow.SetLineSilently(FLines.Strings(i));
    FRowIndex = i;
    return FRow;
}

void TCSVData::SetRow(int i, const QStringList& fields) {
    CheckIndex(i, "Out Of Index");
    FLines.SetStrings(i, CSVLine(fields));
    if (i == FRowIndex) FRow.SetLineSilently(FLines.Strings(i));
}

void TCSVData::SaveToStream(TStream& stream) {
    QString text;
    if (FHasTitle) text += FTitle.Line() + QStringLiteral("\r\n");
    text += FLines.Text();
    if (FEncoding == TCSVEncoding::Utf8) {
        stream.WriteBytes(kUtf8Mark);
        stream.WriteBytes(text.toUtf8());
    } else {
        stream.WriteBytes(cp932::Encode(text));
    }
    FChanged = false;
}

void TCSVData::LoadFromStream(TStream& stream) {
    QByteArray bytes = stream.ReadAll();
    QString text;
    if (bytes.startsWith(kUtf8Mark)) {
        FEncoding = TCSVEncoding::Utf8;
        // Bytes that are no UTF-8 become U+FFFD, which the importer refuses by name.
        text = QString::fromUtf8(QByteArrayView(bytes).sliced(kUtf8Mark.size()));
    } else {
        FEncoding = TCSVEncoding::Cp932;
        text = cp932::Decode(bytes);
    }
    TStringList lines;
    lines.SetText(text);
    QStringList items = lines.Items();
    FRowIndex = -1;
    if (FHasTitle && items.size() > 1) {
        FTitle.SetLineSilently(items.takeFirst());
    }
    FLines.SetItems(items);
    FChanged = false;
}

int TCSVData::Compare(const QString& a, const QString& b) const {
    if (OnCompare) return OnCompare(a, b);
    return a.compare(b, Qt::CaseSensitive);
}

void TCSVData::Sort(int column) {
    if (FLines.Count() <= 1) return;
    struct TKeyed {
        QString Key;
        QString Line;
    };
    std::vector<TKeyed> items;
    items.reserve(size_t(FLines.Count()));
    for (const QString& line : FLines.Items()) {
        const QStringList fields = ParseCSVLine(line);
        items.push_back({column >= 0 && column < fields.size() ? fields[column] : QString(), line});
    }
    QuickSort<TKeyed>(items, [this](const TKeyed& a, const TKeyed& b) { return Compare(a.Key, b.Key); });
    QStringList sorted;
    sorted.reserve(qsizetype(items.size()));
    for (const TKeyed& item : items) sorted << item.Line;
    FRowIndex = -1;
    FLines.SetItems(sorted);
    FChanged = true;
}

int TCSVData::Find(int column, const QString& value) {
    if (column < 0) throw ECSVDataBase(QStringLiteral("Out Of Index in Find"));
    for (int i = 0; i < FLines.Count(); ++i) {
        const QStringList fields = ParseCSVLine(FLines.Strings(i));
        if (Compare(column < fields.size() ? fields[column] : QString(), value) == 0) return i;
    }
    return -1;
}

void TCSVData::SetHasTitle(bool hasTitle) {
    if (hasTitle == FHasTitle) return;
    FRowIndex = -1;
    if (hasTitle) {
        if (FLines.Count() > 0) {
            FTitle.SetLineSilently(FLines.Strings(0));
            FLines.Delete(0);
        }
    } else {
        FLines.Insert(0, FTitle.Line());
        FTitle.SetLineSilently(QString());
    }
    FHasTitle = hasTitle;
}

void TCSVData::SetTitle(const QStringList& names) {
    FTitle.SetItems(names);
    FHasTitle = true;
}

int TCSVData::MaxColumnCount() {
    int most = FHasTitle ? FTitle.Count() : 0;
    for (const QString& line : FLines.Items()) most = std::max(most, int(ParseCSVLine(line).size()));
    return most;
}

} // namespace vellum
