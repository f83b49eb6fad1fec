#include "ui/PrintPreviewForm.h"

#include "base/Format.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"
#include "platform/ScreenDPI.h"
#include "print/PrintPreviewSite.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vellum {

namespace {

constexpr int kZooms[] = {25, 50, 100, 200, 400};

} // namespace

TfrmPrintPreview::TfrmPrintPreview(TLabelData& document, const TPrintSpec& job, const TRect& printable,
                                   QWidget* parent)
    : QDialog(parent), FSpec(job), FPrintable(printable),
      FSite(std::make_unique<TPrintPreviewSite>(document, nullptr, FSpec)) {
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    FPrevious = new QPushButton(QStringLiteral("前のページ"), this);
    FNext = new QPushButton(QStringLiteral("次のページ"), this);
    FZoom = new QComboBox(this);
    FZoom->addItem(QStringLiteral("自動"), 0);
    for (int zoom : kZooms) FZoom->addItem(Format(QStringLiteral("%d%%"), zoom), zoom);
    tools->addWidget(FPrevious);
    tools->addWidget(FNext);
    tools->addWidget(FZoom);
    tools->addStretch(1);
    layout->addLayout(tools);
    FScroll = new QScrollArea(this);
    FScroll->setAlignment(Qt::AlignCenter);
    FScroll->setBackgroundRole(QPalette::Dark);
    FPage = new QLabel(FScroll);
    FScroll->setWidget(FPage);
    layout->addWidget(FScroll, 1);
    FStatus = new QLabel(this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("印刷"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(FStatus, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FPrevious, &QPushButton::clicked, this, [this] { ShowSheet(FSheet - 1); });
    connect(FNext, &QPushButton::clicked, this, [this] { ShowSheet(FSheet + 1); });
    connect(FZoom, &QComboBox::activated, this, [this] { Render(); });
    resize(640, 800);
    ShowSheet(0);
}

TfrmPrintPreview::~TfrmPrintPreview() = default;

QString TfrmPrintPreview::StatusText() const { return FStatus->text(); }

void TfrmPrintPreview::ShowSheet(int sheet) {
    FSheet = std::clamp(sheet, 0, std::max(0, FSpec.PageCount - 1));
    FPrevious->setEnabled(FSheet > 0);
    FNext->setEnabled(FSheet + 1 < FSpec.PageCount);
    FStatus->setText(Format(QStringLiteral("%d/%dページ"), FSheet + 1, FSpec.PageCount));
    Render();
}

void TfrmPrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // Once the layout has given the page area its new size.
    if (FZoom->currentData().toInt() == 0) QTimer::singleShot(0, this, [this] { Render(); });
}

void TfrmPrintPreview::Render() {
    const TPaperInfo& paper = FSite->Paper();
    int dpi = ScreenDPI() * std::max(1, FZoom->currentData().toInt()) / 100;
    if (FZoom->currentData().toInt() == 0) {
        // The whole page in the visible area.
        const QSize area = FScroll->viewport()->size() - QSize(8, 8);
        dpi = std::max(1, std::min(area.width() * UnitDPI / std::max(1, paper.Width()),
                                   area.height() * UnitDPI / std::max(1, paper.Height())));
    }
    const QImage page = FSite->RenderSheet(FSheet, dpi, FPrintable);
    FPage->setPixmap(QPixmap::fromImage(page));
    FPage->resize(page.size());
}

} // namespace vellum
