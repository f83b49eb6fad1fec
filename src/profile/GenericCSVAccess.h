#pragma once
// Moves rows between a TCSVData and any record store through callbacks,
// one row at a time, with progress and cancellation between rows.

#include <QStringList>

#include <climits>
#include <functional>
#include <optional>
#include <vector>

namespace vellum {

class TCSVData;

class TGenericCSVAccess {
public:
    // A mapping entry that takes no source column.
    static constexpr int kUnmapped = INT_MAX;

    int RecordCount = 0;
    int ColumnCount = 0;
    // Entry k: the source column of row entry k. Unset: rows as parsed.
    std::optional<std::vector<int>> Mapping;

    std::function<void(int index, const QStringList& fields)> Store;
    std::function<QStringList(int index)> Fetch;
    // Asked after each row; true stops the transfer.
    std::function<bool()> Cancelled;
    // Done of total: 0 before the first row, then after each one. The
    // window's receiver lets pending events run there.
    std::function<void(int done, int total)> Progress;

    // Stores each line of data in order; true when every line was stored.
    bool ImportRows(TCSVData& data);
    // Appends each fetched record to data's lines; true when none was left out.
    bool ExportRows(TCSVData& data);

    // The row a mapping makes of parsed fields.
    static QStringList MapRow(const QStringList& fields, const std::vector<int>& mapping);
};

} // namespace vellum
