#include "appgui/MessageForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vellum {

QString TfrmMessage::ButtonCaption(TMsgDlgBtn button) {
    switch (button) {
    case mbYes:
        return QStringLiteral("はい(&Y)");
    case mbNo:
        return QStringLiteral("いいえ(&N)");
    case mbOK:
        return QStringLiteral("OK");
    case mbCancel:
        return QStringLiteral("キャンセル");
    case mbAbort:
        return QStringLiteral("中止(&A)");
    case mbRetry:
        return QStringLiteral("再試行(&R)");
    case mbIgnore:
        return QStringLiteral("無視(&I)");
    }
    return QString();
}

TfrmMessage::TfrmMessage(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                         TMsgDlgBtn cancelButton, QWidget* parent)
    : QDialog(parent), FCancelResult(ModalResultOf(cancelButton)) {
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(Expand(QStringLiteral("$(AppName:inessential)")));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    row->addWidget(icon);
    auto* label = new QLabel(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    label->setObjectName(QStringLiteral("lblMessage"));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(label, 1);
    layout->addLayout(row);
    auto* bar = new QHBoxLayout;
    bar->addStretch();
    for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore}) {
        if (!(buttons & b)) continue;
        auto* pb = new QPushButton(ButtonCaption(b), this);
        const int result = ModalResultOf(b);
        connect(pb, &QPushButton::clicked, this, [this, result] { done(result); });
        if (b == defaultButton) {
            pb->setDefault(true);
            pb->setFocus();
        }
        bar->addWidget(pb);
    }
    layout->addLayout(bar);
    setSizeGripEnabled(false);
}

void TfrmMessage::reject() { done(FCancelResult); }

int TfrmMessage::Execute(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                         TMsgDlgBtn cancelButton) {
    TfrmMessage form(text, buttons, defaultButton, cancelButton, QApplication::activeWindow());
    return form.exec();
}

void InstallMessageForm(TAppFrame& frame) { frame.OnMessageBox = &TfrmMessage::Execute; }

} // namespace vellum
