#include "CoreTestKinds.h"

#include "core/DrawObject.h"
#include "core/Pivot.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <stdexcept>

namespace vellum::test {

TFakeSite::~TFakeSite() {
    for (TGraphicControl* c : Children) c->SetParent(nullptr);
}

void TFakeSite::Add(TGraphicControl* control) {
    control->SetParent(this);
    Children.push_back(control);
}

void TFakeSite::AddObject(TDrawObject& object) { Add(&object); }

void TFakeSite::SelectAll(bool select) {
    for (TGraphicControl* c : Children)
        if (auto* object = dynamic_cast<TDrawObject*>(c)) object->SetSelected(select);
}

void TFakeSite::SetChildIndex(TGraphicControl* child, int index) {
    std::erase(Children, child);
    Children.insert(Children.begin() + std::clamp(index, 0, int(Children.size())), child);
}

void TFakeSite::RemoveChild(TGraphicControl* child) { std::erase(Children, child); }

void TFakeSite::PlaceHandle(TPivot& pivot, TPoint logicalPoint) {
    const TPoint p = LogicalToDevice(logicalPoint);
    pivot.SetBounds(p.X - pivot.Size() / 2, p.Y - pivot.Size() / 2, pivot.Size(), pivot.Size());
    Add(&pivot);
}

void TTestShape::DrawOutline(TCanvas& canvas) { canvas.Rectangle(FrameRect()); }

void TTestShape::Paint(TCanvas& canvas, const TRenderContext&) const {
    ++Paints;
    if (FailPaint) throw std::runtime_error("paint failed");
    canvas.SetBrush({TBrushStyle::bsSolid, clBlack});
    canvas.FillRect(FrameRect());
}

const TClassInfo& TTestShape::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TTestShape, TLORectBase>("TTestShape", [](auto&) {});
    return info;
}

TNotifyLog::TNotifyLog(TDrawObject& object)
    : Listener([this](TPersistent*, const TGUID& id) { Ids.push_back(id); }) {
    Listener.Attach(&object.Broadcaster());
}

int TNotifyLog::Count(const TGUID& id) const { return int(std::count(Ids.begin(), Ids.end(), id)); }

} // namespace vellum::test
