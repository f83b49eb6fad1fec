#include "core/DOGroup.h"

#include "core/DOList.h"
#include "core/ObjectHelpers.h"

#include <QScopeGuard>

namespace vellum {

const TClassInfo& TDOGroup::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TDOGroup, TLabelObject>("TDOGroup", [](auto&) {});
    return info;
}

TDOGroup::TDOGroup(TComponent* owner) : TLabelObject(owner) {}

std::vector<TDrawObject*> TDOGroup::Members() const {
    std::vector<TDrawObject*> members;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* o = dynamic_cast<TDrawObject*>(Components(i))) members.push_back(o);
    return members;
}

void TDOGroup::Assign(const TPersistent* source) {
    auto* group = dynamic_cast<const TDOGroup*>(source);
    if (!group) {
        TLabelObject::Assign(source);
        return;
    }
    // Freeing our members first would free the very objects to be cloned.
    if (group == this) return;
    BeginUpdate();
    const auto end = qScopeGuard([this] { EndUpdate(); });
    for (TDrawObject* member : Members()) FreeComponent(*member);
    for (TDrawObject* member : group->Members()) CloneInto(*member, *this);
    TLabelObject::Assign(source);
    Changed();
    Invalidate();
    UpdateControlBounds();
}

TDOGroup& TDOGroup::Group(const TDOList& objects, TComponent& owner) {
    auto group = std::make_unique<TDOGroup>();
    for (int i = 0; i < objects.Count(); ++i) CloneInto(*objects.Items(i), *group);
    group->SetCursor(crHandPoint);
    return owner.Adopt(std::move(group));
}

void TDOGroup::Ungroup(TComponent& owner, TDOList& result) const {
    for (TDrawObject* member : Members()) result.Add(&CloneInto(*member, owner));
}

void TDOGroup::GetChildren(const std::function<void(TComponent*)>& proc) const {
    for (TDrawObject* member : Members()) proc(member);
}

void TDOGroup::Loaded() {
    TLabelObject::Loaded();
    UpdateControlBounds();
}

bool TDOGroup::HitTest(TPoint p) const {
    for (TDrawObject* member : Members())
        if (member->HitTest(p)) return true;
    return false;
}

TRect TDOGroup::GetBounds() const {
    TRect bounds;
    bool first = true;
    for (TDrawObject* member : Members()) {
        const TRect b = member->GetBounds();
        if (first) {
            bounds = b;
            first = false;
        } else {
            bounds = {std::min(bounds.Left, b.Left), std::min(bounds.Top, b.Top),
                      std::max(bounds.Right, b.Right), std::max(bounds.Bottom, b.Bottom)};
        }
    }
    return bounds;
}

void TDOGroup::Paint(TCanvas& canvas, const TRenderContext& context) const {
    for (TDrawObject* member : Members()) member->DrawTo(canvas, context);
}

void TDOGroup::Offset(int32_t dx, int32_t dy) {
    for (TDrawObject* member : Members())
        if (auto* e = member->Capability<IDOEncloseBounds>()) e->Offset(dx, dy);
    Changed();
    Invalidate();
    UpdateControlBounds();
}

void TDOGroup::SetSize(int32_t width, int32_t height) {
    const TRect from = GetBounds();
    TDOList members;
    for (TDrawObject* member : Members()) members.Add(member);
    ScaleObjects(members, from, Bounds(from.Left, from.Top, width, height));
    Changed();
    Invalidate();
    UpdateControlBounds();
}

void TDOGroup::SetLeft(int32_t v) {
    Offset(v - GetLeft(), 0);
    Changed();
    Invalidate();
}

void TDOGroup::SetTop(int32_t v) {
    Offset(0, v - GetTop());
    Changed();
    Invalidate();
}

void TDOGroup::DrawOutline(TCanvas& canvas) {
    for (TDrawObject* member : Members())
        if (auto* d = member->Capability<IDODraw>()) d->DrawOutline(canvas);
}

} // namespace vellum
