#include "ui/AboutForm.h"

#include "appframe/AppFrame.h"
#include "base/Exceptions.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace vellum {
namespace {

QString ExpandText(const QString& text) {
    try {
        return Expand(text);
    } catch (const EMacroString&) {
        return text;
    }
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlAbout"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    panel->setPalette(colours);

    auto* name = new QLabel(ExpandText(QStringLiteral("$(AppName)")), panel);
    name->setObjectName(QStringLiteral("lblAppName"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(ExpandText(QStringLiteral("バージョン $(LongVer)")), panel);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto* line = new QFrame(panel);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(line);
    text->addWidget(version);
    text->addStretch();
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(24, 20, 40, 20);
    row->setSpacing(18);
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        auto* picture = new QLabel(panel);
        picture->setObjectName(QStringLiteral("imgIcon"));
        picture->setPixmap(icon.pixmap(48, 48));
        picture->setAlignment(Qt::AlignTop);
        row->addWidget(picture);
    }
    row->addLayout(text, 1);

    FOK = new QPushButton(QStringLiteral("OK"), this);
    FOK->setObjectName(QStringLiteral("btnOK"));
    FOK->setDefault(true);
    connect(FOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(FOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    FTimer = new QTimer(this);
    FTimer->setSingleShot(true);
    connect(FTimer, &QTimer::timeout, this, [this] { close(); });
}

void TfrmAbout::Execute(QWidget* parent) {
    TfrmAbout form(parent);
    form.exec();
}

TfrmAbout* TfrmAbout::ShowSplash(QWidget* parent, int msec) {
    auto* form = new TfrmAbout(parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->StartSplash(msec);
    return form;
}

void TfrmAbout::StartSplash(int msec) {
    FSplash = true;
    FOK->hide();
    layout()->setContentsMargins(0, 0, 0, 0);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    adjustSize();
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    FTimer->start(msec);
}

void TfrmAbout::mousePressEvent(QMouseEvent* event) {
    if (FSplash) {
        close();
        return;
    }
    QDialog::mousePressEvent(event);
}

} // namespace vellum
