#include "ui/PaperPicker.h"

#include "paper/PaperInfo.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vellum {

TPaperPicker::TPaperPicker(const TPaperInfo& paper, QWidget* parent)
    : QWidget(parent), FPaper(paper), FSelected(size_t(std::max(0, paper.FaceCount())), false) {
    setMinimumSize(120, 160);
}

bool TPaperPicker::IsSelected(int position) const {
    return position >= 0 && size_t(position) < FSelected.size() && FSelected[size_t(position)];
}

void TPaperPicker::SetSelected(int position, bool selected) {
    if (position < 0 || size_t(position) >= FSelected.size()) return;
    FSelected[size_t(position)] = selected;
    update();
}

int TPaperPicker::SelectedCount() const { return int(std::count(FSelected.begin(), FSelected.end(), true)); }

QRectF TPaperPicker::SheetRect() const {
    const double w = std::max(1, FPaper.Width()), h = std::max(1, FPaper.Height());
    const double scale = std::min((width() - 8) / w, (height() - 8) / h);
    return {(width() - w * scale) / 2, (height() - h * scale) / 2, w * scale, h * scale};
}

QRectF TPaperPicker::FaceRect(int position) const {
    const QRectF sheet = SheetRect();
    const double scale = sheet.width() / std::max(1, FPaper.Width());
    const TRect r = FPaper.FacePlacedRect(position);
    return {sheet.left() + r.Left * scale, sheet.top() + r.Top * scale, r.Width() * scale,
            r.Height() * scale};
}

void TPaperPicker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.fillRect(SheetRect(), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(SheetRect());
    const QColor faceColor = isEnabled() ? QColor(0xFF, 0xE7, 0xAF) : QColor(0xE0, 0xE0, 0xE0);
    for (int j = 0; j < int(FSelected.size()); ++j) {
        const QRectF r = FaceRect(j);
        p.fillRect(r, IsSelected(j) && isEnabled() ? QColor(0xFF, 0x8C, 0x00) : faceColor);
        p.setPen(Qt::gray);
        p.drawRect(r);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, QString::number(j + 1));
    }
}

void TPaperPicker::mousePressEvent(QMouseEvent* event) {
    for (int j = 0; j < int(FSelected.size()); ++j) {
        if (!FaceRect(j).contains(event->position())) continue;
        SetSelected(j, !IsSelected(j));
        if (OnChanged) OnChanged();
        return;
    }
}

} // namespace vellum
