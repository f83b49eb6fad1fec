#pragma once
// A printer queue of the system as a print target: the pages go to the
// queue only when the job ends complete; an abort sends nothing.

#include "print/PrintTarget.h"

#include <QString>

#include <memory>

class QPrinter;

namespace vellum {

class TQtPrinterTarget : public TPrintTarget {
public:
    explicit TQtPrinterTarget(const QString& printerName);
    ~TQtPrinterTarget() override;

    TRenderTarget Kind() const override { return TRenderTarget::rtPrinter; }
    void SetPaper(int32_t portraitWidth, int32_t portraitHeight, bool landscape) override;
    void Begin(const QString& title) override;
    TCanvas& Canvas() override;
    void NewPage() override;
    bool Printing() const override;
    void End() override;
    void Abort() override;

private:
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<TPainterCanvas> FCanvas;
};

} // namespace vellum
