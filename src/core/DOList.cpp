#include "core/DOList.h"

#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "core/DrawObject.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScopeGuard>

#include <algorithm>
#include <memory>
#include <utility>

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

void TDOList::SaveToStream(TStream& stream) const {
    WriteI32(stream, Count());
    for (const TDrawObject* object : FItems) WriteComponent(stream, *object);
}

QString TDOList::ClipboardMimeType(const QString& format) {
    return QStringLiteral("application/x-vellum4-objects;format=\"%1\"").arg(format);
}

void TDOList::CopyToClipboard(const QString& format) const {
    if (Empty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    TOwnedDOList clones;
    for (const TDrawObject* object : FItems) {
        TDrawObject& clone = clones.Give(CloneObject(*object));
        clone.SetName(object->Name());
    }
    TMemoryStream data;
    clones.SaveToStream(data);
    auto* mime = new QMimeData;
    mime->setData(ClipboardMimeType(format), data.Data());
    // The clipboard owns the data from here on.
    QGuiApplication::clipboard()->setMimeData(mime);
}

TOwnedDOList::TOwnedDOList() = default;

TOwnedDOList::TOwnedDOList(TOwnedDOList&& other) noexcept
    : FObjects(std::exchange(other.FObjects, {})), FView(std::exchange(other.FView, {})) {}

TOwnedDOList& TOwnedDOList::operator=(TOwnedDOList&& other) noexcept {
    if (&other == this) return *this;
    Clear();
    FObjects = std::exchange(other.FObjects, {});
    FView = std::exchange(other.FView, {});
    return *this;
}

TOwnedDOList::~TOwnedDOList() { Clear(); }

TDrawObject& TOwnedDOList::Give(std::unique_ptr<TDrawObject> object) {
    return Insert(Count(), std::move(object));
}

TDrawObject& TOwnedDOList::Insert(int index, std::unique_ptr<TDrawObject> object) {
    if (!object) throw EListError(QStringLiteral("An object list takes no null object"));
    if (TComponent* owner = object->Owner()) owner->RemoveComponent(object.get());
    index = std::clamp(index, 0, Count());
    TDrawObject& added = *object;
    FView.Insert(index, &added);
    auto unlist = qScopeGuard([this, index] { FView.Delete(index); });
    FObjects.insert(FObjects.begin() + index, std::move(object));
    unlist.dismiss();
    return added;
}

std::unique_ptr<TDrawObject> TOwnedDOList::Take(int index) {
    std::unique_ptr<TDrawObject> object = std::move(FObjects.at(size_t(index)));
    FObjects.erase(FObjects.begin() + index);
    FView.Delete(index);
    return object;
}

std::vector<std::unique_ptr<TDrawObject>> TOwnedDOList::TakeAll() {
    FView.Clear();
    return std::exchange(FObjects, {});
}

std::unique_ptr<TDrawObject> TOwnedDOList::Replace(int index, std::unique_ptr<TDrawObject> object) {
    if (!object) throw EListError(QStringLiteral("An object list takes no null object"));
    std::unique_ptr<TDrawObject>& place = FObjects.at(size_t(index));
    if (TComponent* owner = object->Owner()) owner->RemoveComponent(object.get());
    FView.SetItems(index, object.get());
    place.swap(object);
    return object;
}

void TOwnedDOList::Clear() {
    for (std::unique_ptr<TDrawObject>& object : TakeAll()) object.reset();
}

void TOwnedDOList::Reverse() {
    std::reverse(FObjects.begin(), FObjects.end());
    std::reverse(FView.Raw().begin(), FView.Raw().end());
}

void TOwnedDOList::LoadFromStream(TStream& stream) {
    Clear();
    if (stream.Remaining() < 4) throw EReadError(InvalidStreamMessage());
    const int32_t count = ReadI32(stream);
    // Every object takes at least its signature and two names.
    if (count < 0 || int64_t(count) * 8 > stream.Remaining()) throw EReadError(InvalidStreamMessage());
    TOwnedDOList read;
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TComponent> component(ReadComponent(stream));
        if (std::unique_ptr<TDrawObject> object = TakeAs<TDrawObject>(component))
            read.Give(std::move(object));
    }
    *this = std::move(read);
}

void TOwnedDOList::PasteClipboard(const QString& format) {
    Clear();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(TDOList::ClipboardMimeType(format))) return;
    TMemoryStream data(mime->data(TDOList::ClipboardMimeType(format)));
    LoadFromStream(data);
}

} // namespace vellum
