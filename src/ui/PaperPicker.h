#pragma once
// The sheet drawn small with its cards, for choosing which cards to print:
// a click selects or deselects a card, selected cards are orange. Numbers
// are card positions on the sheet.

#include <QWidget>

#include <functional>
#include <vector>

namespace vellum {

class TPaperInfo;

class TPaperPicker : public QWidget {
public:
    explicit TPaperPicker(const TPaperInfo& paper, QWidget* parent = nullptr);

    bool IsSelected(int position) const;
    void SetSelected(int position, bool selected);
    int SelectedCount() const;
    // Called after every change by a click.
    std::function<void()> OnChanged;

    QSize sizeHint() const override { return {180, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The sheet's rectangle in widget pixels and the scale from 0.1 mm.
    QRectF SheetRect() const;
    QRectF FaceRect(int position) const;

    const TPaperInfo& FPaper;
    std::vector<bool> FSelected;
};

} // namespace vellum
