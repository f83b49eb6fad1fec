#include "ui/PrintPaperForm.h"

#include "appframe/AppFrame.h"
#include "base/Format.h"
#include "paper/PaperInfo.h"
#include "print/PrintPlan.h"
#include "ui/PaperPicker.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace vellum {

const QString kPdfPrinterName = QStringLiteral("PDF");

namespace {

void Message(const QString& text) {
    if (TAppFrame* frame = AppFrame()) frame->ShowMessage(text);
}

QDoubleSpinBox* MillimetreBox(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(-99.9, 99.9);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

} // namespace

TfrmPrintPaper::TfrmPrintPaper(const TPaperInfo& paper, bool backSide, int profileCount, int selectedProfiles,
                               const QStringList& printers, const QString& defaultPrinter, QWidget* parent)
    : QDialog(parent), FPaper(paper), FBackSide(backSide), FProfileCount(std::max(0, profileCount)),
      FSelectedProfiles(std::max(0, selectedProfiles)) {
    setObjectName(QStringLiteral("frmPrintPaper"));
    setWindowTitle(QStringLiteral("ラベルシートの印刷"));
    auto* top = new QHBoxLayout(this);

    auto* faces = new QGroupBox(QStringLiteral("印刷するラベル"), this);
    auto* facesLayout = new QVBoxLayout(faces);
    FAllFaces = new QRadioButton(QStringLiteral("全ラベル"), faces);
    FSomeFaces = new QRadioButton(QStringLiteral("指定ラベル"), faces);
    FPicker = new TPaperPicker(paper, faces);
    facesLayout->addWidget(FAllFaces);
    facesLayout->addWidget(FSomeFaces);
    facesLayout->addWidget(FPicker, 1);
    top->addWidget(faces);

    auto* right = new QVBoxLayout;
    top->addLayout(right);

    auto* output = new QGroupBox(QStringLiteral("印刷"), this);
    auto* grid = new QGridLayout(output);
    grid->addWidget(new QLabel(QStringLiteral("プリンタ:"), output), 0, 0);
    FPrinters = new QComboBox(output);
    FPrinters->addItem(kPdfPrinterName);
    FPrinters->addItems(printers);
    grid->addWidget(FPrinters, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("印刷枚数:"), output), 1, 0);
    FCount = new QSpinBox(output);
    FCount->setRange(1, 99);
    FCount->setSuffix(QStringLiteral(" 枚"));
    grid->addWidget(FCount, 1, 1);
    FFrame = new QCheckBox(QStringLiteral("ラベル枠線を印刷"), output);
    grid->addWidget(FFrame, 2, 0, 1, 4);
    FCutLines = new QCheckBox(QStringLiteral("切り取り線を印刷"), output);
    grid->addWidget(FCutLines, 3, 0, 1, 4);
    auto* kinds = new QButtonGroup(this);
    const QString kindNames[3] = {QStringLiteral("点線"), QStringLiteral("トンボ(外側)"),
                                  QStringLiteral("トンボ(十字)")};
    for (int k = 0; k < 3; ++k) {
        FCutKinds[k] = new QRadioButton(kindNames[k], output);
        kinds->addButton(FCutKinds[k], k + 1);
        grid->addWidget(FCutKinds[k], 4, k + 1);
    }
    FPaperImage = new QCheckBox(QStringLiteral("用紙柄を印刷"), output);
    grid->addWidget(FPaperImage, 5, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("印刷位置の補正 横:"), output), 6, 0);
    FOffsetX = MillimetreBox(output);
    grid->addWidget(FOffsetX, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("縦:"), output), 6, 2);
    FOffsetY = MillimetreBox(output);
    grid->addWidget(FOffsetY, 6, 3);
    right->addWidget(output);

    auto* profiles = new QGroupBox(QStringLiteral("プロフィール"), this);
    auto* pgrid = new QGridLayout(profiles);
    FFixedProfile = new QRadioButton(QStringLiteral("表示中のプロフィールで印刷"), profiles);
    FMerge = new QRadioButton(QStringLiteral("プロフィールを差し込んで印刷"), profiles);
    auto* mergeKind = new QButtonGroup(this);
    mergeKind->addButton(FFixedProfile);
    mergeKind->addButton(FMerge);
    pgrid->addWidget(FFixedProfile, 0, 0, 1, 4);
    pgrid->addWidget(FMerge, 1, 0, 1, 4);
    FPerSheet = new QRadioButton(QStringLiteral("用紙ごとに次のプロフィール:"), profiles);
    FPerLabel = new QRadioButton(QStringLiteral("ラベルごとに次のプロフィール:"), profiles);
    auto* per = new QButtonGroup(this);
    per->addButton(FPerSheet);
    per->addButton(FPerLabel);
    FSheetCount = new QSpinBox(profiles);
    FSheetCount->setRange(1, 100);
    FSheetCount->setSuffix(QStringLiteral(" 枚"));
    FLabelCount = new QSpinBox(profiles);
    FLabelCount->setRange(1, 100);
    FLabelCount->setSuffix(QStringLiteral(" ラベル"));
    pgrid->addWidget(FPerSheet, 2, 1, 1, 2);
    pgrid->addWidget(FSheetCount, 2, 3);
    pgrid->addWidget(FPerLabel, 3, 1, 1, 2);
    pgrid->addWidget(FLabelCount, 3, 3);
    FCountSelected = new QCheckBox(QStringLiteral("印刷ラベルだけカウント"), profiles);
    pgrid->addWidget(FCountSelected, 4, 1, 1, 3);
    FProfileRange =
        new QLabel(Format(QStringLiteral("印刷するプロフィール(1～%d件)"), FProfileCount), profiles);
    pgrid->addWidget(FProfileRange, 5, 1, 1, 3);
    FProfileStart = new QSpinBox(profiles);
    FProfileEnd = new QSpinBox(profiles);
    const int maximum = std::max(1, FProfileCount);
    FProfileStart->setRange(1, maximum);
    FProfileEnd->setRange(1, maximum);
    pgrid->addWidget(FProfileStart, 6, 1);
    pgrid->addWidget(new QLabel(QStringLiteral("～"), profiles), 6, 2, Qt::AlignCenter);
    pgrid->addWidget(FProfileEnd, 6, 3);
    FSelectedProfiles_ = new QCheckBox(QStringLiteral("選択プロフィールだけを印刷"), profiles);
    pgrid->addWidget(FSelectedProfiles_, 7, 1, 1, 3);
    right->addWidget(profiles);

    FSheets = new QLabel(this);
    right->addWidget(FSheets);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* start = buttons->addButton(QStringLiteral("印刷開始"), QDialogButtonBox::AcceptRole);
    start->setObjectName(QStringLiteral("btnStart"));
    QPushButton* preview = buttons->addButton(QStringLiteral("プレビュー"), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("btnPreview"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmPrintPaper::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TfrmPrintPaper::reject);
    connect(preview, &QPushButton::clicked, this, [this] {
        if (!Validate()) return;
        TPrintMemory::Current() = Choices();
        if (OnPreview) OnPreview();
    });
    right->addWidget(buttons);

    TPrintMemory memory = TPrintMemory::Current();
    // A merge job's sheet count is not what a fixed one would want.
    if (memory.LastMerged) memory.Count = 1;
    Load(memory);
    const int printer = FPrinters->findText(memory.Printer.isEmpty() ? defaultPrinter : memory.Printer);
    FPrinters->setCurrentIndex(std::max(0, printer));

    const auto update = [this] { UpdateControls(); };
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{FAllFaces, FSomeFaces, FFrame, FCutLines, FCutKinds[0],
                                                 FCutKinds[1], FCutKinds[2], FPaperImage, FFixedProfile,
                                                 FMerge, FPerSheet, FPerLabel, FCountSelected,
                                                 FSelectedProfiles_})
        connect(b, &QAbstractButton::toggled, this, update);
    for (QSpinBox* s : {FCount, FSheetCount, FLabelCount}) connect(s, &QSpinBox::valueChanged, this, update);
    connect(FSomeFaces, &QRadioButton::toggled, this, [this](bool on) {
        if (on && FPicker->SelectedCount() == 0) FPicker->SetSelected(0, true);
        UpdateControls();
    });
    // Start and end push each other so that start <= end.
    connect(FProfileStart, &QSpinBox::valueChanged, this, [this](int v) {
        if (FProfileEnd->value() < v) FProfileEnd->setValue(v);
        UpdateControls();
    });
    connect(FProfileEnd, &QSpinBox::valueChanged, this, [this](int v) {
        if (FProfileStart->value() > v) FProfileStart->setValue(v);
        UpdateControls();
    });
    FPicker->OnChanged = update;
    UpdateControls();
}

void TfrmPrintPaper::Load(const TPrintMemory& m) {
    FCount->setValue(m.Count);
    FFrame->setChecked(m.Frame);
    FCutLines->setChecked(m.CutLines);
    const int kind = std::clamp(int(m.CutKind), 1, 3);
    FCutKinds[kind - 1]->setChecked(true);
    FPaperImage->setChecked(m.PaperImage);
    FOffsetX->setValue(m.Offset.X / 10.0);
    FOffsetY->setValue(m.Offset.Y / 10.0);
    (m.AllFaces ? FAllFaces : FSomeFaces)->setChecked(true);
    for (int j = 0; j < FPaper.FaceCount(); ++j) {
        const int i = FBackSide ? BackSideCard(FPaper, j) : j;
        FPicker->SetSelected(j, size_t(i) < m.Selection.size() && m.Selection[size_t(i)] != 0);
    }
    (m.FixedProfile ? FFixedProfile : FMerge)->setChecked(true);
    (m.PerSheet ? FPerSheet : FPerLabel)->setChecked(true);
    FSheetCount->setValue(m.SheetsPerProfile);
    FLabelCount->setValue(m.LabelsPerProfile);
    FCountSelected->setChecked(m.CountSelectedOnly);
    FProfileStart->setValue(m.FirstProfile);
    FProfileEnd->setValue(m.LastProfile);
    FSelectedProfiles_->setChecked(m.SelectedProfilesOnly);
}

TPrintMemory TfrmPrintPaper::Choices() const {
    TPrintMemory m = TPrintMemory::Current();
    m.Count = FCount->value();
    m.Frame = FFrame->isChecked();
    m.CutLines = FCutLines->isChecked();
    for (int k = 0; k < 3; ++k)
        if (FCutKinds[k]->isChecked()) m.CutKind = TCutLineKind(k + 1);
    m.PaperImage = FPaperImage->isChecked();
    m.Offset = {int32_t(Round(FOffsetX->value() * 10)), int32_t(Round(FOffsetY->value() * 10))};
    m.AllFaces = FAllFaces->isChecked();
    m.Selection.assign(size_t(std::max(0, FPaper.FaceCount())), 0);
    for (int j = 0; j < FPaper.FaceCount(); ++j) {
        const int i = FBackSide ? BackSideCard(FPaper, j) : j;
        if (FPicker->IsSelected(j) && i >= 0 && size_t(i) < m.Selection.size()) m.Selection[size_t(i)] = 1;
    }
    m.FixedProfile = FFixedProfile->isChecked();
    m.PerSheet = FPerSheet->isChecked();
    m.SheetsPerProfile = FSheetCount->value();
    m.LabelsPerProfile = FLabelCount->value();
    m.CountSelectedOnly = FCountSelected->isChecked() && FCountSelected->isEnabled();
    m.FirstProfile = FProfileStart->value();
    m.LastProfile = FProfileEnd->value();
    m.SelectedProfilesOnly = FSelectedProfiles_->isChecked();
    m.Printer = FPrinters->currentText();
    m.LastMerged = !m.FixedProfile;
    return m;
}

QString TfrmPrintPaper::Printer() const { return FPrinters->currentText(); }

QString TfrmPrintPaper::SheetCountText() const { return FSheets->text(); }

void TfrmPrintPaper::UpdateControls() {
    FPicker->setEnabled(FSomeFaces->isChecked());
    for (QRadioButton* k : FCutKinds) k->setEnabled(FCutLines->isChecked());
    const bool merge = FMerge->isChecked();
    FCount->setEnabled(!merge);
    for (QWidget* w : std::initializer_list<QWidget*>{FPerSheet, FPerLabel, FSelectedProfiles_})
        w->setEnabled(merge);
    FSheetCount->setEnabled(merge && FPerSheet->isChecked());
    FLabelCount->setEnabled(merge && FPerLabel->isChecked());
    FCountSelected->setEnabled(merge && FPerLabel->isChecked() && FSomeFaces->isChecked());
    const bool selectedOnly = FSelectedProfiles_->isChecked();
    if (selectedOnly) {
        const QSignalBlocker a(FProfileStart), b(FProfileEnd);
        FProfileStart->setValue(1);
        FProfileEnd->setValue(std::max(1, FSelectedProfiles));
    }
    FProfileStart->setEnabled(merge && !selectedOnly);
    FProfileEnd->setEnabled(merge && !selectedOnly);
    const TPrintSpec job = Choices().Job(FPaper.FaceCount(), FSelectedProfiles);
    FSheets->setText(Format(QStringLiteral("必要な用紙数：%d枚"), job.PageCount));
}

bool TfrmPrintPaper::Validate() {
    if (FSomeFaces->isChecked() && FPicker->SelectedCount() == 0) {
        Message(QStringLiteral("印刷するラベルを指定してください"));
        return false;
    }
    if (FMerge->isChecked() && !FSelectedProfiles_->isChecked() &&
        FProfileEnd->value() < FProfileStart->value()) {
        Message(QStringLiteral("印刷するプロフィールを正しく指定してください"));
        return false;
    }
    return true;
}

void TfrmPrintPaper::accept() {
    if (!Validate()) return;
    // The PDF printer takes no paper: its file is asked for next.
    if (Printer() != kPdfPrinterName) {
        TAppFrame* frame = AppFrame();
        const int answer =
            frame ? frame->MessageBox(QStringLiteral(
                                          "印刷を開始します\r\n\r\n用紙をセットして「OK」を押してください"),
                                      mbOK | mbCancel, mbOK, mbCancel)
                  : mrOk;
        if (answer != mrOk) return;
    }
    TPrintMemory::Current() = Choices();
    QDialog::accept();
}

} // namespace vellum
