#pragma once
// The print preview: the job's sheets page by page as they will be printed,
// with "%d/%dページ", previous and next, zoom, and 印刷 to start the job.

#include "print/PrintSpec.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace vellum {

class TLabelData;
class TPrintPreviewSite;

class TfrmPrintPreview : public QDialog {
public:
    // printable: the printer's printable area on the sheet (0.1 mm), empty
    // for the whole sheet.
    TfrmPrintPreview(TLabelData& document, const TPrintSpec& job, const TRect& printable = {},
                     QWidget* parent = nullptr);
    ~TfrmPrintPreview() override;

    int Sheet() const { return FSheet; }
    void ShowSheet(int sheet);
    QString StatusText() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Render();

    TPrintSpec FSpec;
    TRect FPrintable;
    std::unique_ptr<TPrintPreviewSite> FSite;
    int FSheet = 0;
    QScrollArea* FScroll;
    QLabel* FPage;
    QLabel* FStatus;
    QComboBox* FZoom;
    QPushButton* FPrevious;
    QPushButton* FNext;
};

} // namespace vellum
