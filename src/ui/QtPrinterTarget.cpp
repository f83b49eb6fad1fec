#include "ui/QtPrinterTarget.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "platform/PainterCanvas.h"

#include <QPainter>
#include <QPrinter>

namespace vellum {

TQtPrinterTarget::TQtPrinterTarget(const QString& printerName)
    : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    FPrinter->setPrinterName(printerName);
}

TQtPrinterTarget::~TQtPrinterTarget() { Abort(); }

void TQtPrinterTarget::SetPaper(int32_t portraitWidth, int32_t portraitHeight, bool landscape) {
    FPrinter->setPageSize(
        QPageSize(QSizeF(portraitWidth / 10.0, portraitHeight / 10.0), QPageSize::Millimeter));
    FPrinter->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TQtPrinterTarget::Begin(const QString& title) {
    FPrinter->setDocName(title);
    FCanvas = std::make_unique<TPainterCanvas>(static_cast<QPagedPaintDevice&>(*FPrinter));
    if (!FCanvas->Painter().isActive()) {
        FCanvas.reset();
        throw Exception(
            Format(QStringLiteral("プリンタ %s で印刷を開始できません"), FPrinter->printerName()));
    }
}

TCanvas& TQtPrinterTarget::Canvas() { return *FCanvas; }

void TQtPrinterTarget::NewPage() {
    if (!FPrinter->newPage())
        throw Exception(
            Format(QStringLiteral("プリンタ %s に次のページを送れません"), FPrinter->printerName()));
}

bool TQtPrinterTarget::Printing() const {
    return FCanvas && FPrinter->printerState() != QPrinter::Error &&
           FPrinter->printerState() != QPrinter::Aborted;
}

void TQtPrinterTarget::End() {
    // Ending the painter hands the job to the queue.
    FCanvas.reset();
    if (FPrinter->printerState() == QPrinter::Error)
        throw Exception(
            Format(QStringLiteral("プリンタ %s で印刷できませんでした"), FPrinter->printerName()));
}

void TQtPrinterTarget::Abort() {
    if (!FCanvas) return;
    FPrinter->abort();
    FCanvas.reset();
}

} // namespace vellum
