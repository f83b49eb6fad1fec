#pragma once
// A most-recently-used list kept in the settings store as the values
// "Item0", "Item1", ... of one key, and shown as entries of a menu.

#include "base/Component.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace vellum {

class THistoryManager : public TComponent {
public:
    using TOnMenuClick = std::function<void(THistoryManager* sender, const QString& item)>;

    explicit THistoryManager(TComponent* owner = nullptr);
    ~THistoryManager() override;

    VELLUM_CLASS(THistoryManager)

public:

    // Macros allowed; the last part names the key holding the items.
    const QString& RegistryKey() const { return FRegistryKey; }
    void SetRegistryKey(const QString& key) { FRegistryKey = key; }
    int Limit() const { return FLimit; }
    void SetLimit(int limit) { FLimit = limit; }
    bool UseAccelerator() const { return FUseAccelerator; }
    void SetUseAccelerator(bool value) { FUseAccelerator = value; }
    const QString& ClearHistoryCaption() const { return FClearHistoryCaption; }
    void SetClearHistoryCaption(const QString& caption) { FClearHistoryCaption = caption; }
    // The entries are shown after this action in its menu; the action itself is hidden.
    void SetMenuItem(QMenu* menu, QAction* placeholder);
    TOnMenuClick OnMenuClick;

    // Raises EListError "History用のキーがセットされていません" without a key.
    QStringList Load();
    void Add(const QString& item);
    void Remove(const QString& item);
    void Clear();
    const QStringList& Items() const { return FItems; }
    // Rebuilds the menu entries from the stored list.
    void UpdateMenu();
    // Captions of the entries as the menu shows them.
    QStringList MenuCaptions() const;

private:
    void Store();
    QString ItemsKey();
    void Choose(const QString& item);

    QString FRegistryKey;
    int FLimit = 10;
    bool FUseAccelerator = false;
    QString FClearHistoryCaption;
    QStringList FItems;
    QPointer<QMenu> FMenu;
    QPointer<QAction> FMenuItem;
    std::vector<QPointer<QAction>> FMenuActions;
};

} // namespace vellum
