#include "appgui/HistoryMenu.h"

#include "appframe/HistoryManager.h"

#include <QAction>
#include <QMenu>

namespace vellum {

THistoryMenu::THistoryMenu(THistoryManager& history, QMenu* menu, QAction* placeholder)
    : FHistory(&history), FMenu(menu), FMenuItem(placeholder) {
    FListener.SetCallback([this](TPersistent*, const TGUID& id) {
        if (id == NID_ObjectDestroyed) {
            FHistory = nullptr;
            RemoveEntries(true);
        } else if (id == NID_ObjectChanged) {
            Update();
        }
    });
    FListener.Attach(&history.Broadcaster());
    if (placeholder) placeholder->setVisible(false);
    Update();
}

THistoryMenu::~THistoryMenu() { RemoveEntries(true); }

void THistoryMenu::RemoveEntries(bool now) {
    for (auto& a : FEntries) {
        if (!a) continue;
        if (FMenu) FMenu->removeAction(a);
        if (now)
            delete a.data();
        else
            a->deleteLater();
    }
    FEntries.clear();
}

void THistoryMenu::Update() {
    // An entry may be the one whose click got us here: let it go later.
    RemoveEntries(false);
    if (!FHistory || !FMenu || !FMenuItem) return;
    const QStringList& items = FHistory->Items();
    if (items.isEmpty()) return;
    const QList<QAction*> all = FMenu->actions();
    const qsizetype at = all.indexOf(FMenuItem.data());
    QAction* before = at >= 0 && at + 1 < all.size() ? all[at + 1] : nullptr;
    auto insert = [&](QAction* a) {
        FMenu->insertAction(before, a);
        FEntries.emplace_back(a);
    };
    if (at > 0) {
        auto* sep = new QAction(FMenu);
        sep->setSeparator(true);
        insert(sep);
    }
    const QStringList captions = FHistory->MenuCaptions();
    THistoryManager* history = FHistory;
    for (int i = 0; i < items.size(); ++i) {
        auto* a = new QAction(captions[i], FMenu);
        const QString item = items[i];
        QObject::connect(a, &QAction::triggered, a, [history, item] { history->Choose(item); });
        insert(a);
    }
    if (!FHistory->ClearHistoryCaption().isEmpty()) {
        auto* sep = new QAction(FMenu);
        sep->setSeparator(true);
        insert(sep);
        auto* clear = new QAction(FHistory->ClearHistoryCaption(), FMenu);
        QObject::connect(clear, &QAction::triggered, clear, [history] { history->Clear(); });
        insert(clear);
    }
}

} // namespace vellum
