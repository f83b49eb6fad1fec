#include "print/PrintTarget.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "platform/AtomicFile.h"
#include "platform/PainterCanvas.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace vellum {

TPdfPrintTarget::TPdfPrintTarget(QString fileName, int dpi) : FFileName(std::move(fileName)), FDpi(dpi) {}

TPdfPrintTarget::~TPdfPrintTarget() { Abort(); }

void TPdfPrintTarget::SetPaper(int32_t portraitWidth, int32_t portraitHeight, bool landscape) {
    FWidth = std::max(1, portraitWidth);
    FHeight = std::max(1, portraitHeight);
    FLandscape = landscape;
}

void TPdfPrintTarget::Fail() {
    Abort();
    throw Exception(Format(QStringLiteral("PDF ファイル %s を書き込めません"), FFileName));
}

void TPdfPrintTarget::Begin(const QString& title) {
    Abort();
    FFile = std::make_unique<TAtomicFile>(FFileName);
    FDevice = std::make_unique<QFile>();
    if (!FDevice->open(FFile->Handle(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) Fail();
    FWriter = std::make_unique<QPdfWriter>(FDevice.get());
    FWriter->setResolution(FDpi);
    FWriter->setTitle(title);
    FWriter->setCreator(QStringLiteral("Vellum4"));
    const QPageSize size(QSizeF(FWidth / 10.0, FHeight / 10.0), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    const QPageLayout layout(size, FLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
    if (!FWriter->setPageLayout(layout)) Fail();
    FCanvas = std::make_unique<TPainterCanvas>(*FWriter);
    if (!FCanvas->Painter().isActive()) Fail();
}

TCanvas& TPdfPrintTarget::Canvas() { return *FCanvas; }

void TPdfPrintTarget::NewPage() {
    if (!FWriter || !FWriter->newPage()) Fail();
}

bool TPdfPrintTarget::Printing() const {
    return FCanvas && FCanvas->Painter().isActive() && FDevice->error() == QFileDevice::NoError;
}

void TPdfPrintTarget::End() {
    if (!FCanvas) Fail();
    // Ending the painter writes the rest of the file.
    FCanvas.reset();
    FWriter.reset();
    const bool written = FDevice->flush() && FDevice->error() == QFileDevice::NoError;
    FDevice.reset();
    if (!written) Fail();
    FFile->Commit();
    FFile.reset();
}

void TPdfPrintTarget::Abort() {
    FCanvas.reset();
    FWriter.reset();
    FDevice.reset();
    FFile.reset();
}

} // namespace vellum
