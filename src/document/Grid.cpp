#include "document/Grid.h"

namespace vellum {

const TClassInfo& TGrid::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TGrid, TPersistent>("TGrid", [](auto& b) {
        b.Boolean("Visible", &TGrid::Visible, &TGrid::SetVisible);
        b.Boolean("LineShape", &TGrid::LineShape, &TGrid::SetLineShape);
        b.Integer("Size", &TGrid::Size, &TGrid::SetSize);
        b.Boolean("Enabled", &TGrid::Enabled, &TGrid::SetEnabled);
    });
    return info;
}

void TGrid::AssignTo(TPersistent* dest) const {
    auto* grid = dynamic_cast<TGrid*>(dest);
    if (!grid) {
        TPersistent::AssignTo(dest);
        return;
    }
    grid->FVisible = FVisible;
    grid->FLineShape = FLineShape;
    grid->FSize = FSize;
    grid->FEnabled = FEnabled;
}

TSnapOffset TGrid::Snap(TPoint p) const {
    if (!FEnabled || FSize < 1) return {};
    // The division truncates toward zero, for points left of or above the card too.
    const auto axis = [this](int32_t v) {
        return int32_t(int64_t(FSize) * ((int64_t(v) + FSize / 2) / FSize) - v);
    };
    return {axis(p.X), axis(p.Y)};
}

} // namespace vellum
