#pragma once
// The print dialog "ラベルシートの印刷": which cards, how many sheets, frames
// and cut marks, the paper's printed design, an offset, how profiles are
// merged, and the printer. It starts from the dialog memory and writes the
// choices back on OK.

#include "ui/PrintMemory.h"

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace vellum {

class TPaperInfo;
class TPaperPicker;

// The printer that writes a PDF file; always listed, also without any queue.
extern const QString kPdfPrinterName;

class TfrmPrintPaper : public QDialog {
public:
    // backSide: the document's back sheet is printed (the card selection is
    // then kept in mirrored numbers). printers: the queues to offer after
    // the PDF printer; defaultPrinter is chosen when the memory names none.
    TfrmPrintPaper(const TPaperInfo& paper, bool backSide, int profileCount, int selectedProfiles,
                   const QStringList& printers, const QString& defaultPrinter, QWidget* parent = nullptr);

    // The choices as they stand (written to the memory on OK).
    TPrintMemory Choices() const;
    QString Printer() const;
    TPaperPicker& Picker() const { return *FPicker; }
    // "必要な用紙数：%d枚" as shown.
    QString SheetCountText() const;
    // Called by the preview button: the choices are valid and remembered.
    std::function<void()> OnPreview;

    void accept() override;

private:
    void Load(const TPrintMemory& memory);
    void UpdateControls();
    bool Validate();

    const TPaperInfo& FPaper;
    bool FBackSide;
    int FProfileCount;
    int FSelectedProfiles;
    QRadioButton* FAllFaces;
    QRadioButton* FSomeFaces;
    TPaperPicker* FPicker;
    QSpinBox* FCount;
    QCheckBox* FFrame;
    QCheckBox* FCutLines;
    QRadioButton* FCutKinds[3];
    QCheckBox* FPaperImage;
    QDoubleSpinBox* FOffsetX;
    QDoubleSpinBox* FOffsetY;
    QRadioButton* FFixedProfile;
    QRadioButton* FMerge;
    QRadioButton* FPerSheet;
    QRadioButton* FPerLabel;
    QSpinBox* FSheetCount;
    QSpinBox* FLabelCount;
    QCheckBox* FCountSelected;
    QLabel* FProfileRange;
    QSpinBox* FProfileStart;
    QSpinBox* FProfileEnd;
    QCheckBox* FSelectedProfiles_;
    QComboBox* FPrinters;
    QLabel* FSheets;
};

} // namespace vellum
