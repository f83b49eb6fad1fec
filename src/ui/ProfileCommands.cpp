#include "ui/ProfileCommands.h"

#include "appframe/AppFrame.h"
#include "base/Exceptions.h"
#include "base/Format.h"
#include "commands/DocumentSession.h"
#include "commands/FileDialogs.h"
#include "profile/ProfileCSV.h"
#include "profile/ProfileDB2.h"
#include "ui/CSVImportForm.h"
#include "ui/ProgressForm.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellum {
namespace {

const QString kTitleSetting = QStringLiteral("CSVOutputTitle");

bool AskTitles(QWidget* parent, bool& titles) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmCSVExport"));
    dialog.setWindowTitle(QStringLiteral("CSV形式の出力"));
    auto* box = new QCheckBox(QStringLiteral("項目名も出力(&I)"), &dialog);
    box->setChecked(titles);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(box);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    titles = box->isChecked();
    return true;
}

} // namespace

TProfileCommands::TProfileCommands(QWidget* window, IFileDialogs& dialogs, TProfileDB2& db,
                                   TDocumentSession& session)
    : FWindow(window), FDialogs(dialogs), FDB(db), FSession(session) {
    RunImportDialog = [](TfrmCSVImport& dialog) { return dialog.exec() == QDialog::Accepted; };
    AskExportOptions = [window](bool& titles) { return AskTitles(window, titles); };
}

QString TProfileCommands::CSVFilter() {
    return QStringLiteral("CSVﾌｧｲﾙ(*.CSV)|*.CSV|CSV UTF-8(*.CSV)|*.CSV|すべてのﾌｧｲﾙ(*.*)|*.*");
}

void TProfileCommands::Report(const std::exception& error) const {
    const auto* e = dynamic_cast<const Exception*>(&error);
    if (TAppFrame* frame = AppFrame())
        frame->MessageBoxFmt(QStringLiteral("%s"), mbOK, mbOK, mbOK,
                             e ? e->Message() : QString::fromUtf8(error.what()));
}

bool TProfileCommands::ImportCSV() {
    TFileDialogRequest request;
    request.Title = QStringLiteral("CSVデータの読み込み");
    request.Filter = QStringLiteral("CSVﾌｧｲﾙ(*.CSV)|*.CSV|すべてのﾌｧｲﾙ(*.*)|*.*");
    request.DefaultExt = QStringLiteral("CSV");
    const TFileDialogAnswer answer = FDialogs.OpenFile(request);
    if (!answer.Accepted || answer.FileName.isEmpty() || !QFileInfo(answer.FileName).isFile()) return false;
    TCSVData data;
    try {
        LoadCSVFile(data, answer.FileName);
    } catch (const std::exception& e) {
        Report(e);
        return false;
    }
    TfrmCSVImport dialog(data, FWindow);
    if (!RunImportDialog(dialog)) return false;
    TfrmProgress progress(QStringLiteral("CSVデータの読み込み"),
                          QStringLiteral("CSVデータを読み込んでいます。"),
                          QStringLiteral("CSVデータの読み込みを中止します。\r\nよろしいですか？"), FWindow);
    progress.show();
    if (OnProgress) OnProgress(progress);
    bool ok = true;
    try {
        ImportProfiles(FDB, data, {dialog.SkipFirstLine(), dialog.ClearFirst(), dialog.Mapping()},
                       {[&progress](int done, int total) { progress.SetProgress(done, total); },
                        [&progress] { return progress.Cancelled(); }});
    } catch (const std::exception& e) {
        ok = false;
        progress.hide();
        Report(e);
    }
    // Whatever was stored before a failure or cancel stays; the document follows the database.
    try {
        FSession.TakeFirstProfile();
    } catch (const std::exception& e) {
        Report(e);
        return false;
    }
    return ok;
}

bool TProfileCommands::ExportCSV() {
    TAppFrame* frame = AppFrame();
    bool titles = frame && frame->ReadBool(kTitleSetting, false);
    if (!AskExportOptions(titles)) return false;
    if (frame) frame->WriteBool(kTitleSetting, titles);
    TFileDialogRequest request;
    request.Title = QStringLiteral("CSVデータの出力");
    request.Filter = CSVFilter();
    request.DefaultExt = QStringLiteral("CSV");
    const TFileDialogAnswer answer = FDialogs.SaveFile(request);
    if (!answer.Accepted || answer.FileName.isEmpty()) return false;
    TfrmProgress progress(QStringLiteral("CSVデータの出力"), QStringLiteral("CSVデータを出力しています。"),
                          QStringLiteral("CSVデータの出力を中止します。\r\nよろしいですか？"), FWindow);
    progress.show();
    if (OnProgress) OnProgress(progress);
    try {
        ExportProfiles(FDB, answer.FileName,
                       {titles, answer.FilterIndex == 2 ? TCSVEncoding::Utf8 : TCSVEncoding::Cp932},
                       {[&progress](int done, int total) { progress.SetProgress(done, total); },
                        [&progress] { return progress.Cancelled(); }});
    } catch (const std::exception& e) {
        progress.hide();
        Report(e);
        return false;
    }
    return true;
}

bool TProfileCommands::SaveProfileFile() {
    const QString ext = QFileInfo(FDB.FileName()).suffix();
    TFileDialogRequest request;
    request.Title = QStringLiteral("プロフィールファイルの保存");
    request.Filter =
        Format(QStringLiteral("%sﾌﾟﾛﾌｨｰﾙﾃﾞｰﾀ(*.%s)|*.%s"), Expand(QStringLiteral("$(AppName)")), ext, ext);
    request.DefaultExt = ext;
    const TFileDialogAnswer answer = FDialogs.SaveFile(request);
    if (!answer.Accepted || answer.FileName.isEmpty()) return false;
    try {
        FDB.CopyTo(answer.FileName);
    } catch (const std::exception& e) {
        Report(e);
        return false;
    }
    return true;
}

} // namespace vellum
