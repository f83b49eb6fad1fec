#include "ui/PrintingForm.h"

#include "appframe/AppFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vellum {

TfrmPrinting::TfrmPrinting(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrinting"));
    setWindowTitle(QStringLiteral("印刷"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    row->addWidget(picture);
    row->addWidget(new QLabel(QStringLiteral("印刷中です。少しお待ちください．．．"), this), 1);
    layout->addLayout(row);
    FBar = new QProgressBar(this);
    FBar->setRange(0, TPhasedProgressBase::kRange);
    FBar->setTextVisible(false);
    layout->addWidget(FBar);
    auto* abort = new QPushButton(QStringLiteral("中止"), this);
    abort->setObjectName(QStringLiteral("btnAbort"));
    connect(abort, &QPushButton::clicked, this, &TfrmPrinting::AskAbort);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    setMinimumWidth(360);
}

void TfrmPrinting::AskAbort() {
    TAppFrame* frame = AppFrame();
    if (frame && !frame->Confirm(QStringLiteral("印刷を中断しますか？"))) return;
    if (OnAbort) OnAbort();
}

void TfrmPrinting::closeEvent(QCloseEvent* event) {
    event->ignore();
    AskAbort();
}

TSTDPhasedProgress::TSTDPhasedProgress(QProgressBar& bar) : FBar(bar) { FBar.setRange(0, kRange); }

void TSTDPhasedProgress::Report(int32_t position) {
    if (FBar.value() != position) FBar.setValue(position);
    QCoreApplication::processEvents();
}

} // namespace vellum
