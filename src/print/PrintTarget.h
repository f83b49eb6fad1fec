#pragma once
// Where a print job goes: a printer's pages or a PDF file. A job either
// ends complete or is aborted, and an aborted or failed job leaves nothing
// behind (no partial sheet sent, no partial file).

#include "core/RenderContext.h"

#include <QString>

#include <cstdint>
#include <memory>

class QFile;
class QPdfWriter;

namespace vellum {

class TAtomicFile;
class TCanvas;
class TPainterCanvas;

class TPrintTarget {
public:
    virtual ~TPrintTarget() = default;
    virtual TRenderTarget Kind() const = 0;
    // The sheet's upright size in 0.1 mm and its orientation; before Begin.
    virtual void SetPaper(int32_t portraitWidth, int32_t portraitHeight, bool landscape) = 0;
    // Starts the job under title; raises when the target cannot be opened.
    virtual void Begin(const QString& title) = 0;
    // The page being printed, in device pixels; only between Begin and End.
    virtual TCanvas& Canvas() = 0;
    virtual void NewPage() = 0;
    // False once the device stopped taking pages (a failed printer).
    virtual bool Printing() const = 0;
    // Completes the job; raises when the output could not be finished.
    virtual void End() = 0;
    // Drops the job: nothing of it is printed or kept.
    virtual void Abort() = 0;
};

// A PDF file written to a temporary beside the target and renamed over it
// only when the job ends complete; paths stay vectors, images keep their
// own resolution.
class TPdfPrintTarget : public TPrintTarget {
public:
    explicit TPdfPrintTarget(QString fileName, int dpi = 1200);
    ~TPdfPrintTarget() override;

    TRenderTarget Kind() const override { return TRenderTarget::rtPdf; }
    void SetPaper(int32_t portraitWidth, int32_t portraitHeight, bool landscape) override;
    void Begin(const QString& title) override;
    TCanvas& Canvas() override;
    void NewPage() override;
    bool Printing() const override;
    void End() override;
    void Abort() override;

    const QString& FileName() const { return FFileName; }

private:
    [[noreturn]] void Fail();

    QString FFileName;
    int FDpi;
    int32_t FWidth = 2100;
    int32_t FHeight = 2970;
    bool FLandscape = false;
    std::unique_ptr<TAtomicFile> FFile;
    std::unique_ptr<QFile> FDevice;
    std::unique_ptr<QPdfWriter> FWriter;
    std::unique_ptr<TPainterCanvas> FCanvas;
};

} // namespace vellum
