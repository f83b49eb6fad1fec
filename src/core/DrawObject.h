#pragma once
// The base of every drawing object: a persistent lightweight control with
// logical geometry, a change notifier that batches changes, selection and
// movability, painting on its site or onto any canvas, and capabilities
// asked for by identifier.

#include "base/Broadcaster.h"
#include "core/Capabilities.h"
#include "core/GraphicControl.h"
#include "core/RenderContext.h"

#include <exception>
#include <functional>
#include <memory>

namespace vellum {

class TCanvas;
class TStringList;

inline constexpr TGUID NID_SelectionChanged = MakeGUID("{B423E361-44C6-11D3-AD13-00500463098A}");
inline constexpr TGUID NID_MovableChanged = MakeGUID("{B45F6E91-458A-11D3-AD15-00500463098A}");
inline constexpr TGUID NID_DontPrintChanged = MakeGUID("{B45F6E92-458A-11D3-AD15-00500463098A}");

// Z-order bands: background images, objects of a pre-printed paper design,
// everything the user places.
inline constexpr int32_t LayerBackground = -100;
inline constexpr int32_t LayerPaperDesign = -50;
inline constexpr int32_t LayerUser = 0;

// Shown in place of an object whose painting failed.
inline const QString SPaintFailed = QStringLiteral("描画に失敗しました");

// Paints object onto destination (a bitmap with accessible bits) through a
// grey mask made with DrawMask and an image made with CreateImage, at area
// (logical units) with ratio percent. False when it could not, and the
// object is painted directly instead. Installed by the imaging library.
using TBlendPainter = bool (*)(const TDrawObject& object, TCanvas& destination, const TRect& area, int ratio,
                               const TRenderContext& context);
void SetBlendPainter(TBlendPainter painter);
TBlendPainter BlendPainter();

// Told when an object fails to paint on a site (error null when it was not
// a std::exception); the object shows the failure pattern from then on.
// Installed by the program; without one the failure is only shown.
using TPaintFailureReporter = void (*)(const TDrawObject& object, const std::exception* error);
void SetPaintFailureReporter(TPaintFailureReporter reporter);

class TDrawObject : public TGraphicControl {
    VELLUM_CLASS(TDrawObject)

public:
    explicit TDrawObject(TComponent* owner = nullptr);
    ~TDrawObject() override;

    // Runs inside one update: a whole assignment is announced at most once.
    void Assign(const TPersistent* source) override;

    // The capability, unless the kind does not implement it or refuses it.
    template <class I>
    I* Capability() {
        return RefusesCapability(I::IID) ? nullptr : dynamic_cast<I*>(this);
    }
    template <class I>
    const I* Capability() const {
        return RefusesCapability(I::IID) ? nullptr : dynamic_cast<const I*>(this);
    }

    // Other parts listen to this object's notifications here.
    TBroadcaster& Broadcaster() { return *FChangeNotify; }
    void BeginUpdate() { FChangeNotify->BeginUpdate(); }
    void EndUpdate() { FChangeNotify->EndUpdate(); }
    // Marks the site modified, then fires OnModify.
    void Modified();

    bool Border() const { return FBorder; }
    void SetBorder(bool v);
    bool Selected() const { return FSelected; }
    bool Movable() const { return FMovable; }
    bool Selectable() const { return FSelectable; }
    void SetSelectable(bool v);
    int32_t LayerGroup() const { return FLayerGroup; }
    void SetLayerGroup(int32_t v) { FLayerGroup = v; }
    TStringList* Appendix() const { return FAppendix.get(); }
    // Takes the lines when they differ, then Modified.
    void SetAppendix(const TStringList* lines);
    bool PaintFailed() const { return FPaintFailed; }
    bool GhostMark() const { return FGhostMark; }
    void SetGhostMark(bool v) { FGhostMark = v; }

    // Taking a site in maps the logical geometry onto its pixels.
    void SetParent(IDrawSite* site) override;
    // Control bounds from GetBounds when on a site: mapped outward, plus one
    // pixel to the right and bottom.
    void UpdateControlBounds();
    // Attach it to other broadcasters to hear them through Notify.
    TListener& Listener() { return *FListener; }

    // Z-order by layer group among the site's drawing objects.
    void BringToFront() override;
    void SendToBack() override;

    // Fired by Modified; published as an event that streams never write.
    std::function<void(TDrawObject*)> OnModify;

    // --- virtual operations in slot order
    virtual bool NeedsBlend() const;
    // Paints onto canvas, through the blend path when the canvas is a bitmap.
    virtual void DrawContent(TCanvas& canvas, const TRenderContext& context) const;
    // Fills the whole mask opaque, then leaves its brush black.
    virtual void DrawMask(TCanvas& mask, const TRenderContext& context) const;
    // Paints into the image canvas (the blend painter owns the bitmap).
    virtual void CreateImage(TCanvas& image, const TRenderContext& context) const;
    virtual void Notify(TPersistent* sender, const TGUID& id);
    // Point in logical units.
    virtual bool HitTest(TPoint p) const = 0;
    // Enclosing bounds in logical units, rotation and pen width included.
    virtual TRect GetBounds() const = 0;
    virtual void CreateHandles() = 0;
    virtual void StartGhost(int handleIndex) = 0;
    virtual void SetSelected(bool v);
    virtual void SetMovable(bool v);
    virtual void Changed();
    // Draws the object clipped to its bounds onto canvas, whose mapping is in
    // logical units; the canvas's state is as before afterwards.
    virtual void DrawTo(TCanvas& canvas, const TRenderContext& context) const;
    // The kind's own drawing in logical units; const, so one object may be
    // drawn on several canvases at once.
    virtual void Paint(TCanvas& canvas, const TRenderContext& context) const {}

    // A kind refuses a capability it implements by answering true.
    virtual bool RefusesCapability(const TGUID& iid) const { return false; }

    // Messages from the site.
    bool HitTestMessage(TPoint controlPoint) override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint controlPoint) override;

protected:
    using TGraphicControl::Paint;
    void AssignTo(TPersistent* dest) const override;
    void PaintMessage() override;
    TPoint ToSite(TPoint controlPoint) const { return {controlPoint.X + Left(), controlPoint.Y + Top()}; }

private:
    void DrawFailurePattern(TCanvas& canvas) const;
    QString OnModifyName() const { return QString(); }

    std::unique_ptr<TChangeNotify> FChangeNotify;
    bool FBorder = false;
    bool FSelected = false;
    bool FPaintFailed = false;
    bool FMovable = true;
    bool FSelectable = true;
    int32_t FLayerGroup = 0;
    std::unique_ptr<TListener> FListener;
    bool FGhostMark = false;
    std::unique_ptr<TStringList> FAppendix;
};

// A new object of source's exact class with source assigned: owned by
// owner, or by the caller.
TDrawObject& CloneInto(const TDrawObject& source, TComponent& owner);
std::unique_ptr<TDrawObject> CloneObject(const TDrawObject& source);

} // namespace vellum
