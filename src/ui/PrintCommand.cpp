#include "ui/PrintCommand.h"

#include "appframe/AppFrame.h"
#include "base/DateTime.h"
#include "commands/DocumentSession.h"
#include "commands/FileDialogs.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"
#include "print/PrintSite.h"
#include "print/PrintTarget.h"
#include "ui/PrintPaperForm.h"
#include "ui/PrintPreviewForm.h"
#include "ui/PrintingForm.h"
#include "ui/QtPrinterTarget.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QScopeGuard>

namespace vellum {

namespace {

// The document's back sheet.
constexpr int kBackSheet = 1;

QString AskPdfFile(IFileDialogs& dialogs, const TDocumentSession& session) {
    TFileDialogRequest request;
    request.Title = QStringLiteral("PDF ファイルに印刷");
    request.Filter = QStringLiteral("PDF ファイル (*.pdf)|*.pdf");
    request.DefaultExt = QStringLiteral("pdf");
    const QFileInfo document(session.FileName());
    if (!session.FileName().isEmpty()) {
        request.InitialDir = document.absolutePath();
        request.FileName = document.completeBaseName() + QStringLiteral(".pdf");
    }
    const TFileDialogAnswer answer = dialogs.SaveFile(request);
    return answer.Accepted ? answer.FileName : QString();
}

} // namespace

QStringList SystemPrinters() { return QPrinterInfo::availablePrinterNames(); }

QString DefaultSystemPrinter() { return QPrinterInfo::defaultPrinterName(); }

void RunPrintCommand(QWidget& window, TDocumentSession& session, IFileDialogs& dialogs) {
    TLabelData& document = session.Document();
    const TPaperInfo* paper = document.Paper();
    if (!paper) return;
    // The profile database fills these once it exists.
    TPrintProfiles profiles;
    const int profileCount = 0, selectedProfiles = 0;
    TfrmPrintPaper dialog(*paper, document.CurrentSheet() == kBackSheet, profileCount, selectedProfiles,
                          SystemPrinters(), DefaultSystemPrinter(), &window);
    dialog.OnPreview = [&] {
        TfrmPrintPreview preview(document, TPrintMemory::Current().Job(paper->FaceCount(), selectedProfiles),
                                 TRect{}, &dialog);
        // 印刷 in the preview starts the job as the dialog's own button does.
        if (preview.exec() == QDialog::Accepted) dialog.accept();
    };
    if (dialog.exec() != QDialog::Accepted) return;
    std::unique_ptr<TPrintTarget> target;
    if (dialog.Printer() == kPdfPrinterName) {
        const QString file = AskPdfFile(dialogs, session);
        if (file.isEmpty()) return;
        target = std::make_unique<TPdfPrintTarget>(file);
    } else {
        target = std::make_unique<TQtPrinterTarget>(dialog.Printer());
    }

    document.SetLastPrint(NowDateTime());
    TfrmPrinting progressWindow(&window);
    progressWindow.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    TSTDPhasedProgress progress(progressWindow.Bar());
    const TPrintSpec job = TPrintMemory::Current().Job(paper->FaceCount(), selectedProfiles);
    TPrintSite site(document, &progress, job, profiles);
    site.SetJobTitle(session.PrintTitle());
    if (TAppFrame* frame = AppFrame()) site.SetBanding(frame->ReadInteger(QStringLiteral("Banding"), 1));
    progressWindow.OnAbort = [&site] { site.SetAborted(true); };
    site.Execute(*target);
}

} // namespace vellum
