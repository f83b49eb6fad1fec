#pragma once
// The sheet view: the whole sheet with every card drawn in its face; a click
// selects a card, a double click opens it in the card view.

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

namespace vellum {

class TLabelData;

class TSheetView : public QWidget {
public:
    explicit TSheetView(QWidget* parent = nullptr);

    // Draws the document's current sheet afresh.
    void ShowSheet(TLabelData& document);
    int CurrentCard() const { return FCurrent; }
    void SetCurrentCard(int card);
    // The card under a point of the widget, or -1.
    int CardAt(QPoint point) const;

    std::function<void(int card)> OnCardSelected;
    std::function<void(int card)> OnCardOpened;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct TFace {
        QRect Rect; // sheet units, oriented
        int Image;  // index into FImages
    };
    // Sheet units to widget pixels.
    QTransform Mapping() const;

    QSize FSheet;
    std::vector<TFace> FFaces;
    std::vector<QImage> FImages;
    int FCurrent = 0;
};

} // namespace vellum
