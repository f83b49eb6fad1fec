#include "ui/ProgressForm.h"

#include "appframe/AppFrame.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellum {

TfrmProgress::TfrmProgress(const QString& title, const QString& text, const QString& cancelQuestion,
                           QWidget* parent)
    : QDialog(parent), FText(new QLabel(text, this)), FBar(new QProgressBar(this)),
      FQuestion(cancelQuestion) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FText);
    FBar->setRange(0, 1);
    FBar->setValue(0);
    FBar->setFormat(QStringLiteral("%v / %m"));
    layout->addWidget(FBar);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::rejected, this, &TfrmProgress::reject);
    layout->addWidget(buttons);
    OnConfirm = [](const QString& question) {
        TAppFrame* frame = AppFrame();
        return frame && frame->Confirm(question);
    };
}

void TfrmProgress::SetProgress(int done, int total) {
    FBar->setRange(0, std::max(total, 1));
    FBar->setValue(std::clamp(done, 0, std::max(total, 1)));
    QCoreApplication::processEvents();
}

void TfrmProgress::reject() {
    if (FCancelled) return;
    if (OnConfirm && OnConfirm(FQuestion)) FCancelled = true;
}

} // namespace vellum
