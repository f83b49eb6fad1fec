#pragma once
// Capabilities a drawing object may offer, asked for by identifier through
// TDrawObject::Capability<I>(). A capability pointer never owns the object.

#include "base/Guid.h"
#include "base/Numerics.h"

#include <QString>

#include <memory>

namespace vellum {

class TCanvas;
struct TRenderContext;
class TColorSpec;
class TFaceInfo;
class TPointBasedFont;
class TDrawObject;
class TLabelObject;
class IDrawSite;

class IDOEncloseBounds {
public:
    static constexpr TGUID IID = MakeGUID("{4B303A53-7027-11D1-A16E-0060976E9510}");
    virtual ~IDOEncloseBounds() = default;
    virtual void Offset(int32_t dx, int32_t dy) = 0;
    virtual void SetSize(int32_t width, int32_t height) = 0;
    virtual TRect GetBounds() const = 0;
};

class IDORotate {
public:
    static constexpr TGUID IID = MakeGUID("{14B4B450-7230-11D1-A177-0060976E9510}");
    virtual ~IDORotate() = default;
    virtual int GetAngle() const = 0;
    virtual void SetAngle(int degrees) = 0;
};

class IDOLine {
public:
    static constexpr TGUID IID = MakeGUID("{9E37EE01-9488-11D2-9408-0060976E9510}");
    virtual ~IDOLine() = default;
    virtual TPoint GetStartPoint() const = 0;
    virtual void SetStartPoint(TPoint p) = 0;
    virtual TPoint GetEndPoint() const = 0;
    virtual void SetEndPoint(TPoint p) = 0;
};

class IDOCurve {
public:
    static constexpr TGUID IID = MakeGUID("{705CB8D0-8E77-11D1-A1CC-0060976E9510}");
    virtual ~IDOCurve() = default;
    virtual TPoint GetStartPoint() const = 0;
    virtual void SetStartPoint(TPoint p) = 0;
    virtual TPoint GetEndPoint() const = 0;
    virtual void SetEndPoint(TPoint p) = 0;
    virtual void BeginBending() = 0;
    virtual void EndBending() = 0;
    virtual TPoint GetMiddlePoint() const = 0;
    virtual void SetThroughPoint(TPoint p) = 0;
};

class IDOBlend {
public:
    static constexpr TGUID IID = MakeGUID("{D90DA153-766D-432A-B181-4694F94ABED2}");
    virtual ~IDOBlend() = default;
    virtual void SetBlendShade(bool value) = 0;
    virtual bool GetBlendShade() const = 0;
    virtual void SetBlendRatio(int percent) = 0;
    virtual int GetBlendRatio() const = 0;
};

class IDOFrameRect {
public:
    static constexpr TGUID IID = MakeGUID("{B7EC5AD0-94E5-11D1-A1DF-0060976E9510}");
    virtual ~IDOFrameRect() = default;
    // The unrotated frame.
    virtual TRect GetFrameRect() const = 0;
};

class IDOPlacement {
public:
    static constexpr TGUID IID = MakeGUID("{CF484151-74BF-11D1-A181-0060976E9510}");
    virtual ~IDOPlacement() = default;
    virtual int32_t GetLeft() const = 0;
    virtual void SetLeft(int32_t v) = 0;
    virtual int32_t GetTop() const = 0;
    virtual void SetTop(int32_t v) = 0;
    virtual int32_t GetWidth() const = 0;
    virtual void SetWidth(int32_t v) = 0;
    virtual int32_t GetHeight() const = 0;
    virtual void SetHeight(int32_t v) = 0;
    virtual bool KeepsAspect() const = 0;
};

class IDODraw {
public:
    static constexpr TGUID IID = MakeGUID("{4B303A51-7027-11D1-A16E-0060976E9510}");
    virtual ~IDODraw() = default;
    virtual void DrawTo(TCanvas& canvas, const TRenderContext& context) const = 0;
    virtual void DrawOutline(TCanvas& canvas) = 0;
};

class IDODesigner {
public:
    static constexpr TGUID IID = MakeGUID("{CF484154-74BF-11D1-A181-0060976E9510}");
    virtual ~IDODesigner() = default;
    virtual bool CreateObject(IDrawSite* site, const QString& kindName) = 0;
    virtual bool EditObject(TDrawObject* object, bool& cancelled) = 0;
    virtual bool CreateHandles(TDrawObject* object) = 0;
    virtual bool StartGhost(TDrawObject* object, int handleIndex) = 0;
    // A new ownerless object of the kind, or null.
    virtual std::unique_ptr<TDrawObject> NewObject(const QString& kindName) = 0;
};

class IDOColor {
public:
    static constexpr TGUID IID = MakeGUID("{405F7333-8D50-11D1-A1CA-0060976E9510}");
    virtual ~IDOColor() = default;
    virtual const TColorSpec& GetColor() const = 0;
    virtual void SetColor(const TColorSpec& color) = 0;
};

class IDOSubColor {
public:
    static constexpr TGUID IID = MakeGUID("{405F7334-8D50-11D1-A1CA-0060976E9510}");
    virtual ~IDOSubColor() = default;
    virtual const TColorSpec& GetSubColor() const = 0;
    virtual void SetSubColor(const TColorSpec& color) = 0;
    virtual bool GetTransparent() const = 0;
    virtual void SetTransparent(bool value) = 0;
};

class IDOFont {
public:
    static constexpr TGUID IID = MakeGUID("{405F7331-8D50-11D1-A1CA-0060976E9510}");
    virtual ~IDOFont() = default;
    virtual const TPointBasedFont& GetFont() const = 0;
    virtual void SetFont(const TPointBasedFont& font) = 0;
};

class IDOAlign {
public:
    static constexpr TGUID IID = MakeGUID("{405F7332-8D50-11D1-A1CA-0060976E9510}");
    virtual ~IDOAlign() = default;
    virtual int GetAlign() const = 0;
    virtual void SetAlign(int value) = 0;
};

class IDOAutoSize {
public:
    static constexpr TGUID IID = MakeGUID("{405F7330-8D50-11D1-A1CA-0060976E9510}");
    virtual ~IDOAutoSize() = default;
    virtual bool GetAutoSize() const = 0;
    virtual void SetAutoSize(bool value) = 0;
};

class IDOVertical {
public:
    static constexpr TGUID IID = MakeGUID("{DA0A5EA0-8D74-11D1-A1CA-0060976E9510}");
    virtual ~IDOVertical() = default;
    virtual bool GetVertical() const = 0;
    virtual void SetVertical(bool value) = 0;
};

class IDOFeedAngle {
public:
    static constexpr TGUID IID = MakeGUID("{5FA98FF7-4B5B-4ECB-8E35-71404A61DE83}");
    virtual ~IDOFeedAngle() = default;
    virtual int GetFeedAngle() const = 0;
    virtual void SetFeedAngle(int degrees) = 0;
};

class IDOFaceFit {
public:
    static constexpr TGUID IID = MakeGUID("{94A6E450-4C8C-11D3-AD27-00500463098A}");
    virtual ~IDOFaceFit() = default;
    // Keeps a copy of the face description.
    virtual void SetFaceInfo(const TFaceInfo& face) = 0;
    virtual const TFaceInfo* GetFaceInfo() const = 0;
};

class IDOUpgrade {
public:
    static constexpr TGUID IID = MakeGUID("{D56AF70F-29C6-4102-AF60-F7CFDFD6E50A}");
    virtual ~IDOUpgrade() = default;
    // A new, ownerless object of the newest kind that replaces this one.
    virtual std::unique_ptr<TLabelObject> Upgrade() const = 0;
};

} // namespace vellum
