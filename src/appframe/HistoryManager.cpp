#include "appframe/HistoryManager.h"

#include "appframe/AppFrame.h"
#include "base/Exceptions.h"
#include "platform/RegistryStore.h"

#include <algorithm>
#include <limits>

namespace vellum {

const TClassInfo& THistoryManager::StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<THistoryManager, TComponent>("THistoryManager", [](auto& b) {
            b.String(QStringLiteral("RegistryKey"), &THistoryManager::RegistryKey,
                     &THistoryManager::SetRegistryKey)
                .StoredIf([](const THistoryManager& h) { return !h.RegistryKey().isEmpty(); });
            b.Integer(QStringLiteral("Limit"), &THistoryManager::Limit, &THistoryManager::SetLimit)
                .Default(int64_t(10));
            b.Boolean(QStringLiteral("UseAccelerator"), &THistoryManager::UseAccelerator,
                      &THistoryManager::SetUseAccelerator)
                .Default(false);
            b.String(QStringLiteral("ClearHistoryCaption"), &THistoryManager::ClearHistoryCaption,
                     &THistoryManager::SetClearHistoryCaption)
                .StoredIf([](const THistoryManager& h) { return !h.ClearHistoryCaption().isEmpty(); });
        });
    return info;
}
namespace {

// "Item12" -> 12; names of another form sort after every item, by name.
std::pair<qint64, QString> ItemOrder(const QString& name) {
    if (name.startsWith(QStringLiteral("Item"), Qt::CaseInsensitive)) {
        bool ok = false;
        qint64 n = name.mid(4).toLongLong(&ok);
        if (ok && n >= 0) return {n, QString()};
    }
    return {std::numeric_limits<qint64>::max(), name};
}

QString Accelerator(int index) {
    if (index < 10) return QString(QChar(u'0' + index));
    if (index < 36) return QString(QChar(u'A' + index - 10));
    return QString();
}

QString EscapeAmpersands(QString s) { return s.replace(u'&', QStringLiteral("&&")); }

} // namespace

THistoryManager::THistoryManager(TComponent* owner) : TComponent(owner) {}

QString THistoryManager::ItemsKey() {
    QString key = FRegistryKey;
    if (TAppFrame* frame = AppFrame()) {
        try {
            key = frame->Expand(key);
        } catch (const EMacroString&) {
            key.clear();
        }
    }
    if (key.isEmpty() || !AppFrame())
        throw EListError(QStringLiteral("History用のキーがセットされていません"));
    return key;
}

QStringList THistoryManager::Load() {
    ReadItems();
    FBroadcaster.Notify(this, NID_ObjectChanged);
    return FItems;
}

void THistoryManager::ReadItems() {
    const QString key = ItemsKey();
    TRegistryStore& reg = AppFrame()->Registry();
    QStringList names = reg.ValueNames(key);
    // By item number: a string sort would put Item10 before Item2.
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return ItemOrder(a) < ItemOrder(b); });
    FItems.clear();
    for (const QString& name : names) {
        if (FItems.size() >= FLimit) break;
        if (auto value = reg.ReadString(key, name)) FItems << *value;
    }
}

void THistoryManager::Store() {
    const QString key = ItemsKey();
    TRegistryStore& reg = AppFrame()->Registry();
    reg.BeginUpdate();
    try {
        reg.DeleteKey(key);
        reg.CreateKey(key);
        for (int i = 0; i < FItems.size(); ++i)
            reg.WriteString(key, QStringLiteral("Item%1").arg(i), FItems[i]);
    } catch (...) {
        // Not a scope guard: ending the update writes the settings and may fail.
        reg.EndUpdate();
        throw;
    }
    reg.EndUpdate();
    FBroadcaster.Notify(this, NID_ObjectChanged);
}

void THistoryManager::Add(const QString& item) {
    ReadItems();
    FItems.removeAll(item);
    FItems.prepend(item);
    while (FItems.size() > std::max(FLimit, 0)) FItems.removeLast();
    Store();
}

void THistoryManager::Remove(const QString& item) {
    ReadItems();
    FItems.removeAll(item);
    Store();
}

void THistoryManager::Clear() {
    ItemsKey();
    FItems.clear();
    Store();
}

QStringList THistoryManager::MenuCaptions() const {
    QStringList captions;
    for (int i = 0; i < FItems.size(); ++i) {
        const QString entry = EscapeAmpersands(FItems[i]);
        const QString acc = FUseAccelerator ? Accelerator(i) : QString();
        captions << (acc.isEmpty() ? entry : u'&' + acc + u' ' + entry);
    }
    return captions;
}

void THistoryManager::Choose(const QString& item) {
    Add(item);
    if (OnMenuClick) OnMenuClick(this, item);
}

} // namespace vellum
