#include "ui/CSVImportForm.h"

#include "appframe/AppFrame.h"
#include "base/Format.h"
#include "profile/CSVData.h"
#include "profile/GenericCSVAccess.h"
#include "profile/ProfileCSV.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vellum {
namespace {

const QString kSkipSetting = QStringLiteral("CSVImportSkipFirst");
const QString kClearSetting = QStringLiteral("CSVImportClear");

} // namespace

TfrmCSVImport::TfrmCSVImport(TCSVData& data, QWidget* parent)
    : QDialog(parent), FData(data), FFields(new QListWidget(this)), FSources(new QListWidget(this)),
      FAdd(new QPushButton(QStringLiteral("加える→"), this)),
      FRemove(new QPushButton(QStringLiteral("←解除"), this)),
      FSkipFirst(new QCheckBox(QStringLiteral("1件目をスキップする"), this)),
      FClear(new QCheckBox(QStringLiteral("プロフィール情報をクリアしてから読み込む"), this)),
      FRecordBar(new QScrollBar(Qt::Horizontal, this)), FRecordLabel(new QLabel(this)) {
    setObjectName(QStringLiteral("frmCSVImport"));
    setWindowTitle(QStringLiteral("CSV形式の読込み"));
    FMapping = MappingByTitle(data.Count() > 0 ? data.Row(0).Items() : QStringList());
    FColumns = data.MaxColumnCount();

    auto* fieldsLabel = new QLabel(QStringLiteral("プロフィール項目(&P)"), this);
    fieldsLabel->setBuddy(FFields);
    auto* sourcesLabel = new QLabel(QStringLiteral("読込み元CSV(&S)"), this);
    sourcesLabel->setBuddy(FSources);
    auto* grid = new QGridLayout;
    grid->addWidget(fieldsLabel, 0, 0);
    grid->addWidget(sourcesLabel, 0, 2);
    grid->addWidget(FFields, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(FAdd);
    middle->addWidget(FRemove);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(FSources);
    auto* recordRow = new QHBoxLayout;
    recordRow->addWidget(FRecordBar, 1);
    recordRow->addWidget(FRecordLabel);
    right->addLayout(recordRow);
    grid->addLayout(right, 1, 2);

    auto* start = new QPushButton(QStringLiteral("開始"), this);
    start->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(FSkipFirst);
    layout->addWidget(FClear);
    layout->addLayout(buttons);

    if (TAppFrame* frame = AppFrame()) {
        FSkipFirst->setChecked(frame->ReadBool(kSkipSetting, false));
        FClear->setChecked(frame->ReadBool(kClearSetting, false));
    }
    OnConfirm = [](const QString& question) {
        TAppFrame* frame = AppFrame();
        return frame && frame->Confirm(question);
    };
    FRecordBar->setRange(0, std::max(0, data.Count() - 1));
    connect(FRecordBar, &QScrollBar::valueChanged, this, [this](int value) { ShowRecord(value); });
    connect(FFields, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(FSources, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(FAdd, &QPushButton::clicked, this, [this] { MapSelected(); });
    connect(FRemove, &QPushButton::clicked, this, [this] { UnmapSelected(); });
    connect(start, &QPushButton::clicked, this, &TfrmCSVImport::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmCSVImport::reject);
    ShowRecord(0);
}

bool TfrmCSVImport::SkipFirstLine() const { return FSkipFirst->isChecked(); }

bool TfrmCSVImport::ClearFirst() const { return FClear->isChecked(); }

void TfrmCSVImport::ShowRecord(int record) {
    FRecord = std::clamp(record, 0, std::max(0, FData.Count() - 1));
    if (FRecordBar->value() != FRecord) {
        const QSignalBlocker block(FRecordBar);
        FRecordBar->setValue(FRecord);
    }
    FRecordLabel->setText(
        Format(QStringLiteral("%d/%d"), FData.Count() > 0 ? FRecord + 1 : 0, FData.Count()));
    Fill();
}

void TfrmCSVImport::Fill() {
    const QStringList fields = FData.Count() > 0 ? FData.Row(FRecord).Items() : QStringList();
    const int field = FFields->currentRow();
    const int sourceRow = FSources->currentRow();
    const QSignalBlocker blockFields(FFields);
    const QSignalBlocker blockSources(FSources);
    FFields->clear();
    const QStringList& names = CSVFieldNames();
    std::vector<bool> used(size_t(std::max(FColumns, 0)), false);
    for (int k = 0; k < kCSVFieldCount; ++k) {
        const int column = FMapping[size_t(k)];
        const bool mapped = column != TGenericCSVAccess::kUnmapped;
        if (mapped && column >= 0 && column < FColumns) used[size_t(column)] = true;
        FFields->addItem(
            names[k] + QStringLiteral("：") +
            (mapped ? (column < fields.size() ? fields[column] : QString()) : QStringLiteral("***")));
    }
    FSources->clear();
    for (int c = 0; c < FColumns; ++c) {
        if (used[size_t(c)]) continue;
        const QString value = c < fields.size() ? fields[c] : QString();
        auto* item =
            new QListWidgetItem(value.isEmpty() ? Format(QStringLiteral("***項目%d***"), c + 1) : value);
        item->setData(Qt::UserRole, c);
        FSources->addItem(item);
    }
    FFields->setCurrentRow(field);
    FSources->setCurrentRow(std::min(sourceRow, FSources->count() - 1));
    UpdateButtons();
}

void TfrmCSVImport::UpdateButtons() {
    const int field = FFields->currentRow();
    const bool hasField = field >= 0 && field < kCSVFieldCount;
    FAdd->setEnabled(hasField && FSources->currentItem() != nullptr);
    FRemove->setEnabled(hasField && FMapping[size_t(field)] != TGenericCSVAccess::kUnmapped);
}

void TfrmCSVImport::MapSelected() {
    const int field = FFields->currentRow();
    const QListWidgetItem* source = FSources->currentItem();
    if (field < 0 || field >= kCSVFieldCount || !source) return;
    FMapping[size_t(field)] = source->data(Qt::UserRole).toInt();
    Fill();
}

void TfrmCSVImport::UnmapSelected() {
    const int field = FFields->currentRow();
    if (field < 0 || field >= kCSVFieldCount) return;
    FMapping[size_t(field)] = TGenericCSVAccess::kUnmapped;
    Fill();
}

void TfrmCSVImport::accept() {
    if (ClearFirst() && !(OnConfirm && OnConfirm(QStringLiteral("現在のデータをすべてクリアしてから\r\n"
                                                                "インポートを開始します。よろしいですか？"))))
        return;
    if (TAppFrame* frame = AppFrame()) {
        frame->WriteBool(kSkipSetting, SkipFirstLine());
        frame->WriteBool(kClearSetting, ClearFirst());
    }
    QDialog::accept();
}

} // namespace vellum
