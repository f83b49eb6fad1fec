#pragma once
// Profiles to and from CSV files: the export and import commands without
// their dialogs, shared by the window and the command-line tool.

#include "profile/CSVData.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vellum {

class TProfileDB2;

// Progress (done of total) and cancellation between rows; either may be unset.
struct TCSVTransferHooks {
    std::function<void(int done, int total)> Progress;
    std::function<bool()> Cancelled;
};

// The 55 field names of a CSV file: every field but the merge mark.
const QStringList& CSVFieldNames();
constexpr int kCSVFieldCount = 55;

// Entry k (profile field k + 1): the first column of the line whose text is
// that field's name without regard to case, else unmapped.
std::vector<int> MappingByTitle(const QStringList& firstLine);

// Reads a whole file: UTF-8 when it starts with a byte-order mark or when
// forced, cp932 otherwise. Raises EFOpenError naming the file.
void LoadCSVFile(TCSVData& data, const QString& fileName, std::optional<TCSVEncoding> force = std::nullopt);

struct TCSVImportOptions {
    bool SkipFirstLine = false;
    bool ClearFirst = false;
    // Unset: each line as parsed, entries past the 55 fields ignored.
    std::optional<std::vector<int>> Mapping;
};

// Raises ECSVDataBase naming the record and field of the first value the
// database cannot store (a character the code page lacks), before anything
// is imported.
void CheckImportable(TCSVData& data, const TCSVImportOptions& options);
// Appends every line as a new profile (new identity, no pictures), after
// clearing the database when asked. Lines stored before a cancellation stay.
// Returns the number of profiles added.
int ImportProfiles(TProfileDB2& db, TCSVData& data, const TCSVImportOptions& options,
                   const TCSVTransferHooks& hooks = {});

struct TCSVExportOptions {
    bool Titles = false;
    TCSVEncoding Encoding = TCSVEncoding::Cp932;
};

// Writes every profile's 55 values (a cancelled export writes the rows made
// so far), replacing the file atomically, readable by its owner only. A value
// the encoding cannot store raises ECSVDataBase naming the profile and the
// field, and no file is written. Returns the number of rows written.
int ExportProfiles(TProfileDB2& db, const QString& fileName, const TCSVExportOptions& options,
                   const TCSVTransferHooks& hooks = {});

} // namespace vellum
