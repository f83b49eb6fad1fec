#pragma once
// The card view: one card of the current sheet on a draw site at a zoom of
// the user's choice. Edits stay on the site until the document asks for
// them (Commit).

#include <QScrollArea>

namespace vellum {

class TDrawSite;
class TDrawSiteView;
class TLabelData;

class TCardView : public QScrollArea {
public:
    explicit TCardView(QWidget* parent = nullptr);

    // Shows card (of the current sheet) afresh; pending edits are dropped,
    // so commit first.
    void ShowCard(TLabelData& document, int card);
    // Writes the site's objects back to the card when they were changed.
    void Commit(TLabelData& document);
    bool Modified() const;
    int Card() const { return FCard; }
    int Zoom() const { return FZoom; }
    void SetZoom(int percent);
    // Null until a card is shown.
    TDrawSite* Site() const;

private:
    TDrawSiteView* FView = nullptr;
    int FCard = -1;
    int FZoom = 100;
};

} // namespace vellum
