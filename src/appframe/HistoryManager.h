#pragma once
// A most-recently-used list kept in the settings store as the values
// "Item0", "Item1", ... of one key. A menu shows it through THistoryMenu
// (appgui), which listens for NID_ObjectChanged.

#include "base/Broadcaster.h"
#include "base/Component.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vellum {

class THistoryManager : public TComponent {
public:
    using TOnMenuClick = std::function<void(THistoryManager* sender, const QString& item)>;

    explicit THistoryManager(TComponent* owner = nullptr);

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
    TOnMenuClick OnMenuClick;
    // Announces NID_ObjectChanged whenever Items() was read or stored anew.
    TBroadcaster& Broadcaster() { return FBroadcaster; }

    // Raises EListError "History用のキーがセットされていません" without a key.
    QStringList Load();
    void Add(const QString& item);
    void Remove(const QString& item);
    void Clear();
    const QStringList& Items() const { return FItems; }
    // Captions of the entries as a menu shows them.
    QStringList MenuCaptions() const;
    // What choosing an entry does: it moves to the top, then OnMenuClick.
    void Choose(const QString& item);

private:
    void ReadItems();
    void Store();
    QString ItemsKey();

    QString FRegistryKey;
    int FLimit = 10;
    bool FUseAccelerator = false;
    QString FClearHistoryCaption;
    QStringList FItems;
    TBroadcaster FBroadcaster{this};
};

} // namespace vellum
