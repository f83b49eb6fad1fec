#include "profile/GenericCSVAccess.h"

#include "profile/CSVData.h"
#include "profile/CSVStringList.h"

namespace vellum {

QStringList TGenericCSVAccess::MapRow(const QStringList& fields, const std::vector<int>& mapping) {
    qsizetype last = -1;
    for (size_t k = 0; k < mapping.size(); ++k)
        if (mapping[k] != kUnmapped) last = qsizetype(k);
    QStringList row(last + 1);
    for (qsizetype k = 0; k <= last; ++k) {
        const int source = mapping[size_t(k)];
        if (source >= 0 && source < fields.size()) row[k] = fields[source];
    }
    return row;
}

bool TGenericCSVAccess::ImportRows(TCSVData& data) {
    if (!Store) return false;
    const int total = data.Count();
    if (Progress) Progress(0, total);
    for (int i = 0; i < total; ++i) {
        const QStringList fields = ParseCSVLine(data.Lines().Strings(i));
        Store(i, Mapping ? MapRow(fields, *Mapping) : fields);
        if (Progress) Progress(i + 1, total);
        if (Cancelled && Cancelled()) return i + 1 == total;
    }
    return true;
}

bool TGenericCSVAccess::ExportRows(TCSVData& data) {
    if (!Fetch) return false;
    if (Progress) Progress(0, RecordCount);
    for (int i = 0; i < RecordCount; ++i) {
        data.Lines().Add(CSVLine(Fetch(i)));
        if (Progress) Progress(i + 1, RecordCount);
        if (Cancelled && Cancelled()) return i + 1 == RecordCount;
    }
    return true;
}

} // namespace vellum
