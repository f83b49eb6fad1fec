#include "core/DOList.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/DrawObject.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <memory>

namespace vellum {

int TDOList::Add(TDrawObject* object) {
    FItems.push_back(object);
    return Count() - 1;
}

void TDOList::Insert(int index, TDrawObject* object) {
    FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), object);
}

void TDOList::Delete(int index) {
    (void)FItems.at(size_t(index));
    FItems.erase(FItems.begin() + index);
}

int TDOList::Remove(const TDrawObject* object) {
    const int index = IndexOf(object);
    if (index >= 0) Delete(index);
    return index;
}

int TDOList::IndexOf(const TDrawObject* object) const {
    auto it = std::find(FItems.begin(), FItems.end(), object);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

namespace {
// Hears of every listed object that goes away, so that an object freed
// together with its owner is not freed twice.
class TFreeWatcher : public TComponent {
public:
    explicit TFreeWatcher(std::vector<TDrawObject*>& items) : FItems(items) {
        for (TDrawObject* object : FItems)
            if (object) object->FreeNotification(this);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove) 
            std::replace_if(FItems.begin(), FItems.end(), [component](TDrawObject* o) { return o == component; },
                            nullptr);
    }

private:
    std::vector<TDrawObject*>& FItems;
};
} // namespace

void TDOList::FreeAll() {
    std::vector<TDrawObject*> items;
    items.swap(FItems);
    TFreeWatcher watcher(items);
    for (TDrawObject*& object : items) {
        TDrawObject* doomed = object;
        object = nullptr;
        delete doomed;
    }
}

void TDOList::SaveToStream(TStream& stream) const {
    WriteI32(stream, Count());
    for (const TDrawObject* object : FItems) WriteComponent(stream, *object);
}

void TDOList::LoadFromStream(TStream& stream) {
    Clear();
    if (stream.Remaining() < 4) throw EReadError(InvalidStreamMessage());
    const int32_t count = ReadI32(stream);
    // Every object takes at least its signature and two names.
    if (count < 0 || int64_t(count) * 8 > stream.Remaining()) throw EReadError(InvalidStreamMessage());
    try {
        for (int32_t i = 0; i < count; ++i) {
            std::unique_ptr<TComponent> component(ReadComponent(stream));
            if (auto* object = dynamic_cast<TDrawObject*>(component.get())) {
                component.release();
                Add(object);
            }
        }
    } catch (...) {
        FreeAll();
        throw;
    }
}

QString TDOList::ClipboardMimeType(const QString& format) {
    return QStringLiteral("application/x-vellum4-objects;format=\"%1\"").arg(format);
}

void TDOList::CopyToClipboard(const QString& format) const {
    if (Empty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    TDOList clones;
    try {
        for (const TDrawObject* object : FItems) {
            std::unique_ptr<TDrawObject> clone = CloneObject(*object);
            clone->SetName(object->Name());
            clones.Add(clone.release());
        }
        TMemoryStream data;
        clones.SaveToStream(data);
        auto* mime = new QMimeData;
        mime->setData(ClipboardMimeType(format), data.Data());
        QGuiApplication::clipboard()->setMimeData(mime);
    } catch (...) {
        clones.FreeAll();
        throw;
    }
    clones.FreeAll();
}

void TDOList::PasteClipboard(const QString& format) {
    Clear();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(ClipboardMimeType(format))) return;
    TMemoryStream data(mime->data(ClipboardMimeType(format)));
    LoadFromStream(data);
}

} // namespace vellum
