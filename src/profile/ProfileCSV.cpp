#include "profile/ProfileCSV.h"

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "platform/AtomicFile.h"
#include "profile/GenericCSVAccess.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileInfo2.h"

#include <QFile>

#include <algorithm>

namespace vellum {
namespace {

// The first character a file of the encoding cannot hold, or -1.
int FirstUnstorable(const QString& value, TCSVEncoding encoding) {
    if (encoding == TCSVEncoding::Cp932) return cp932::FirstUnencodable(value);
    // UTF-8 holds every character, but not the undecodable bytes the code
    // page reader keeps as lone surrogates, nor U+FFFD from a broken file.
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c.isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) return int(i);
    }
    return -1;
}

QString CharacterAt(const QString& value, int i) {
    if (value[i].isHighSurrogate() && i + 1 < value.size()) return value.mid(i, 2);
    if (value[i].isSurrogate()) return Format(QStringLiteral("\\x%.2x"), value[i].unicode() & 0xFF);
    return value.mid(i, 1);
}

// The fields of a line as the import stores them.
QStringList ImportedRow(const QStringList& fields, const TCSVImportOptions& options) {
    QStringList row = options.Mapping ? TGenericCSVAccess::MapRow(fields, *options.Mapping) : fields;
    if (row.size() > kCSVFieldCount) row.resize(kCSVFieldCount);
    return row;
}

} // namespace

const QStringList& CSVFieldNames() { return ProfileSearchFieldNames(); }

std::vector<int> MappingByTitle(const QStringList& firstLine) {
    std::vector<int> mapping(kCSVFieldCount, TGenericCSVAccess::kUnmapped);
    const QStringList& names = CSVFieldNames();
    for (int k = 0; k < kCSVFieldCount; ++k) {
        for (int c = 0; c < firstLine.size(); ++c) {
            if (firstLine[c].compare(names[k], Qt::CaseInsensitive) == 0) {
                mapping[size_t(k)] = c;
                break;
            }
        }
    }
    return mapping;
}

void LoadCSVFile(TCSVData& data, const QString& fileName, std::optional<TCSVEncoding> force) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(
            Format(QStringLiteral("ファイル %s を開けません（%s）"), fileName, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFOpenError(
            Format(QStringLiteral("ファイル %s を読み込めません（%s）"), fileName, file.errorString()));
    if (force == TCSVEncoding::Utf8 && !bytes.startsWith("\xEF\xBB\xBF")) bytes.prepend("\xEF\xBB\xBF");
    TMemoryStream stream(std::move(bytes));
    data.LoadFromStream(stream);
}

void CheckImportable(TCSVData& data, const TCSVImportOptions& options) {
    const QStringList& names = CSVFieldNames();
    const int first = options.SkipFirstLine && !data.HasTitle() ? 1 : 0;
    for (int i = first; i < data.Count(); ++i) {
        const QStringList row = ImportedRow(ParseCSVLine(data.Lines().Strings(i)), options);
        for (int k = 0; k < row.size(); ++k) {
            const int bad = FirstUnstorable(row[k], TCSVEncoding::Cp932);
            if (bad < 0) continue;
            throw ECSVDataBase(Format(QStringLiteral("%d行目の「%s」にプロフィールに保存できない文字「%s」が"
                                                     "あります。\r\n読み込みを中止しました。"),
                                      i + 1, names[k], CharacterAt(row[k], bad)));
        }
    }
}

int ImportProfiles(TProfileDB2& db, TCSVData& data, const TCSVImportOptions& options,
                   const TCSVTransferHooks& hooks) {
    CheckImportable(data, options);
    if (options.SkipFirstLine) data.SetHasTitle(true);
    int added = 0;
    TGenericCSVAccess access;
    access.Store = [&](int, const QStringList& fields) {
        TProfileInfo2 profile;
        profile.Clear();
        for (int k = 0; k < std::min<int>(int(fields.size()), kCSVFieldCount); ++k)
            profile.SetValue(k + 1, fields[k]);
        db.Add(profile);
        ++added;
    };
    access.Mapping = options.Mapping;
    access.Progress = hooks.Progress;
    access.Cancelled = hooks.Cancelled;
    db.BeginUpdate();
    try {
        if (options.ClearFirst) db.Clear();
        access.ImportRows(data);
    } catch (...) {
        // The rows stored so far stay.
        db.AbandonUpdate();
        throw;
    }
    db.EndUpdate();
    return added;
}

int ExportProfiles(TProfileDB2& db, const QString& fileName, const TCSVExportOptions& options,
                   const TCSVTransferHooks& hooks) {
    const QStringList& names = CSVFieldNames();
    TCSVData data;
    data.SetEncoding(options.Encoding);
    if (options.Titles) data.SetTitle(names);
    TGenericCSVAccess access;
    access.RecordCount = db.Count();
    access.ColumnCount = kCSVFieldCount;
    TProfileInfo2 profile;
    access.Fetch = [&](int i) {
        db.ReadHeader(i, profile);
        QStringList fields;
        fields.reserve(kCSVFieldCount);
        for (int k = 1; k <= kCSVFieldCount; ++k) {
            const QString value = profile.GetValue(k);
            const int bad = FirstUnstorable(value, options.Encoding);
            if (bad >= 0)
                throw ECSVDataBase(Format(QStringLiteral("%d件目のプロフィール（%s）の「%s」にCSVファイルに"
                                                         "保存できない文字「%s」があります。\r\n出力を中止し"
                                                         "ました。"),
                                          i + 1, profile.GetValue(1), names[k - 1], CharacterAt(value, bad)));
            fields << value;
        }
        return fields;
    };
    access.Progress = hooks.Progress;
    access.Cancelled = hooks.Cancelled;
    access.ExportRows(data);
    TMemoryStream stream;
    data.SaveToStream(stream);
    WriteFileAtomically(fileName, stream.Data(), TProfileDB2::kFileMode);
    return data.Count();
}

} // namespace vellum
