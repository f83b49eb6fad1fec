#pragma once
// The main window's commands on the profile database: CSV import with the
// column-mapping dialog, CSV export, and the backup copy of the database.
// Dialogs are run through replaceable hooks so tests can answer them.

#include <QString>

#include <functional>

class QWidget;

namespace vellum {

class IFileDialogs;
class TDocumentSession;
class TfrmCSVImport;
class TfrmProgress;
class TProfileDB2;

class TProfileCommands {
public:
    // None is owned; all outlive the commands.
    TProfileCommands(QWidget* window, IFileDialogs& dialogs, TProfileDB2& db, TDocumentSession& session);

    // False when cancelled or failed (the user has been told why).
    bool ImportCSV();
    bool ExportCSV();
    bool SaveProfileFile();

    // The CSV file filter: cp932 first, then UTF-8, then every file.
    static QString CSVFilter();

    // Shows the mapping dialog; true for "開始".
    std::function<bool(TfrmCSVImport& dialog)> RunImportDialog;
    // The options of "CSV形式の出力"; false when cancelled.
    std::function<bool(bool& titles)> AskExportOptions;
    // Each progress window as it opens.
    std::function<void(TfrmProgress& progress)> OnProgress;

private:
    void Report(const std::exception& error) const;

    QWidget* FWindow;
    IFileDialogs& FDialogs;
    TProfileDB2& FDB;
    TDocumentSession& FSession;
};

} // namespace vellum
