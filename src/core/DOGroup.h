#pragma once
// A group of drawing objects: the group owns its members (they have no
// parent) and acts on them as one.

#include "core/LabelObject.h"

#include <vector>

namespace vellum {

class TDOList;

class TDOGroup : public TLabelObject, public IDOEncloseBounds, public IDOPlacement, public IDODraw {
    VELLUM_CLASS(TDOGroup)

public:
    explicit TDOGroup(TComponent* owner = nullptr);

    // Clones of every member, source order; a group assigned to itself stays as it is.
    void Assign(const TPersistent* source) override;

    // The drawing objects the group owns, in ownership order.
    std::vector<TDrawObject*> Members() const;

    // A new group owned by owner holding clones of objects, in list order.
    static TDOGroup& Group(const TDOList& objects, TComponent& owner);
    // Clones the members first to last into owner (so they keep their
    // stacking) and adds them to result in that order.
    void Ungroup(TComponent& owner, TDOList& result) const;

    // Streaming: members are written as children and read back owned by the
    // group, without a parent.
    void GetChildren(const std::function<void(TComponent*)>& proc) const override;
    void Loaded() override;

    // --- virtual operations in slot order
    bool KeepsAspect() const override { return false; }

    bool HitTest(TPoint p) const override;
    TRect GetBounds() const override;

    // IDOEncloseBounds
    void Offset(int32_t dx, int32_t dy) override;
    void SetSize(int32_t width, int32_t height) override;
    // IDOPlacement
    int32_t GetLeft() const override { return GetBounds().Left; }
    void SetLeft(int32_t v) override;
    int32_t GetTop() const override { return GetBounds().Top; }
    void SetTop(int32_t v) override;
    int32_t GetWidth() const override { return GetBounds().Width(); }
    void SetWidth(int32_t v) override { SetSize(v, GetHeight()); }
    int32_t GetHeight() const override { return GetBounds().Height(); }
    void SetHeight(int32_t v) override { SetSize(GetWidth(), v); }
    // IDODraw
    void DrawTo(TCanvas& canvas, const TRenderContext& context) const override {
        TLabelObject::DrawTo(canvas, context);
    }
    void DrawOutline(TCanvas& canvas) override;

protected:
    void Paint(TCanvas& canvas, const TRenderContext& context) const override;
};

} // namespace vellum
