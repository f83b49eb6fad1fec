#include "ui/SheetView.h"

#include "commands/CardImage.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vellum {

namespace {
constexpr int kMargin = 16;
}

TSheetView::TSheetView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSheet"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
    setMinimumSize(200, 200);
}

void TSheetView::ShowSheet(TLabelData& document) {
    FFaces.clear();
    FImages.clear();
    FSheet = QSize();
    if (const TPaperInfo* paper = document.Paper()) {
        FSheet = QSize(paper->Width(), paper->Height());
        const bool separately = document.SeparatelyDesign();
        for (int i = 0; i < paper->FaceCount(); ++i) {
            const TRect r = paper->Oriented(paper->FaceRect(i));
            // Cards designed alike share one picture.
            if (separately || FImages.empty()) FImages.push_back(RenderCardImage(document, i));
            FFaces.push_back(
                {QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1)), int(FImages.size()) - 1});
        }
        FCurrent = std::clamp(document.CurrentLabelNo(), 0, std::max(0, paper->FaceCount() - 1));
    }
    update();
}

void TSheetView::SetCurrentCard(int card) {
    FCurrent = card;
    update();
}

QTransform TSheetView::Mapping() const {
    if (FSheet.isEmpty()) return {};
    const double sx = double(width() - 2 * kMargin) / FSheet.width();
    const double sy = double(height() - 2 * kMargin) / FSheet.height();
    const double s = std::max(0.0001, std::min(sx, sy));
    const double left = (width() - FSheet.width() * s) / 2;
    const double top = (height() - FSheet.height() * s) / 2;
    return QTransform(s, 0, 0, s, left, top);
}

int TSheetView::CardAt(QPoint point) const {
    bool invertible = false;
    const QTransform back = Mapping().inverted(&invertible);
    if (!invertible) return -1;
    const QPoint p = back.map(QPointF(point)).toPoint();
    for (size_t i = 0; i < FFaces.size(); ++i)
        if (FFaces[i].Rect.contains(p)) return int(i);
    return -1;
}

void TSheetView::paintEvent(QPaintEvent*) {
    if (FSheet.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QTransform map = Mapping();
    const QRect sheet = map.mapRect(QRect(QPoint(0, 0), FSheet));
    painter.fillRect(sheet.translated(3, 3), QColor(60, 60, 60));
    painter.fillRect(sheet, Qt::white);
    for (size_t i = 0; i < FFaces.size(); ++i) {
        const QRect face = map.mapRect(FFaces[i].Rect);
        painter.drawImage(face, FImages[size_t(FFaces[i].Image)]);
        const bool current = int(i) == FCurrent;
        painter.setPen(QPen(current ? QColor(0, 90, 220) : QColor(170, 170, 170), current ? 2 : 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(face);
    }
}

void TSheetView::mousePressEvent(QMouseEvent* event) {
    const int card = CardAt(event->position().toPoint());
    if (card < 0) return;
    SetCurrentCard(card);
    if (OnCardSelected) OnCardSelected(card);
}

void TSheetView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int card = CardAt(event->position().toPoint());
    if (card >= 0 && OnCardOpened) OnCardOpened(card);
}

} // namespace vellum
