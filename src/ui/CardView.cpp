#include "ui/CardView.h"

#include "commands/CardImage.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "paper/PaperInfo.h"
#include "ui/DrawSiteView.h"

#include <QPalette>

namespace vellum {

TCardView::TCardView(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("frmLayout"));
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    setWidgetResizable(false);
}

TDrawSite* TCardView::Site() const { return FView ? &FView->Site() : nullptr; }

void TCardView::ShowCard(TLabelData& document, int card) {
    if (!document.Paper()) {
        // Before the first document has its paper there is nothing to show.
        delete takeWidget();
        FView = nullptr;
        FCard = -1;
        return;
    }
    auto* view = new TDrawSiteView;
    TDrawSite& site = view->Site();
    site.SetDeviceDPI(logicalDpiY());
    site.Scaler().SetScale(FZoom);
    LoadCardOnSite(document, card, site);
    site.SetModified(false);
    delete takeWidget();
    FView = view;
    FCard = card;
    setWidget(view);
    view->show();
}

void TCardView::Commit(TLabelData& document) {
    TDrawSite* site = Site();
    if (!site || !site->Modified() || FCard < 0) return;
    TDOList objects;
    site->AllObjects(objects);
    document.SaveCard(FCard, objects);
    site->SetModified(false);
}

bool TCardView::Modified() const {
    const TDrawSite* site = Site();
    return site && site->Modified();
}

void TCardView::SetZoom(int percent) {
    FZoom = percent;
    if (TDrawSite* site = Site()) site->Scaler().SetScale(percent);
}

} // namespace vellum
