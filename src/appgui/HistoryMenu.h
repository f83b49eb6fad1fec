#pragma once
// Shows a history list as entries of a menu, after a placeholder action that
// stays hidden; rebuilt whenever the list changes. Choosing an entry is the
// list's Choose; with a clear caption a last entry empties the list.

#include "base/Broadcaster.h"

#include <QPointer>

#include <vector>

class QAction;
class QMenu;

namespace vellum {

class THistoryManager;

class THistoryMenu {
public:
    THistoryMenu(THistoryManager& history, QMenu* menu, QAction* placeholder);
    ~THistoryMenu();
    THistoryMenu(const THistoryMenu&) = delete;
    THistoryMenu& operator=(const THistoryMenu&) = delete;

    // Rebuilds the entries from the list's items.
    void Update();

private:
    void RemoveEntries(bool now);

    THistoryManager* FHistory; // cleared when the list goes
    TListener FListener;
    QPointer<QMenu> FMenu;
    QPointer<QAction> FMenuItem;
    std::vector<QPointer<QAction>> FEntries;
};

} // namespace vellum
