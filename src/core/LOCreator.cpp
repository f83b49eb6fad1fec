#include "core/LOCreator.h"

#include "base/ClassRegistry.h"
#include "base/DateTime.h"
#include "base/StringList.h"
#include "core/DrawObject.h"
#include "core/DrawSiteInterface.h"
#include "core/LORectBase.h"
#include "core/ObjectHelpers.h"
#include "platform/Canvas.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScopeGuard>

#include <utility>
#include <vector>

namespace vellum {

namespace {

TAddedObjectRecorder& AddedObjectRecorder() {
    static TAddedObjectRecorder recorder;
    return recorder;
}

TPicturePaster& PicturePaster() {
    static TPicturePaster paster;
    return paster;
}

// Edit first: the property dialog opens before the object is placed;
// interactive: the user draws it; direct: placed as it is.
enum class TPlacing { EditFirst, Direct, Interactive };

enum TSetUpStep : unsigned {
    ssDateNow = 1,       // Date := now
    ssFillsSite = 2,     // frame = the whole card; disabled, not selectable
    ssClipboardText = 4, // Text := the clipboard's text
    ssClipboardPicture = 8,
};

struct TKindSetUp {
    const char* Kind;
    TPlacing Placing;
    // Set by name where the kind publishes them; a dotted path reaches into
    // nested objects.
    std::vector<std::pair<QString, TPropValue>> Properties;
    unsigned Steps = 0;
};

constexpr int64_t GreyShadow = 8421504;

const std::vector<TKindSetUp>& KindSetUps() {
    using P = TPlacing;
    static const std::vector<TKindSetUp> table = [] {
        const std::pair<QString, TPropValue> autoSize{QStringLiteral("AutoSize"), true};
        const std::pair<QString, TPropValue> shadow{QStringLiteral("ShadowColor.Color"), GreyShadow};
        const auto source = [](int64_t s) {
            return std::pair<QString, TPropValue>{QStringLiteral("ImageSource"), s};
        };
        const auto photo = [](int64_t t) {
            return std::pair<QString, TPropValue>{QStringLiteral("PhotoType"), t};
        };
        return std::vector<TKindSetUp>{
            {"TLOJANCode", P::EditFirst, {}},
            {"TLODecoLine", P::EditFirst, {}},
            {"TLODecoString", P::EditFirst, {}},
            {"TLOAlphaMask", P::EditFirst, {}},
            {"TLOImage", P::EditFirst, {source(0)}},
            {"TLOImagePaste", P::Direct, {source(0)}, ssClipboardPicture},
            {"TLOOnePoint", P::EditFirst, {source(1)}},
            {"TLOTwain", P::EditFirst, {source(2)}},
            {"TLOText", P::EditFirst, {autoSize, shadow}},
            {"TLOTextPaste", P::Direct, {autoSize, shadow}, ssClipboardText},
            {"TLODate", P::EditFirst, {autoSize, shadow}, ssDateNow},
            {"TLOBackImage",
             P::EditFirst,
             {{QStringLiteral("FrameColor.Color"), int64_t(clWhite)}},
             ssFillsSite},
            {"TLOFacePhoto", P::EditFirst, {photo(0)}},
            {"TLOLogoPhoto", P::EditFirst, {photo(1)}},
            {"TLOField", P::EditFirst, {{QStringLiteral("FieldNo"), int64_t(2)}, autoSize, shadow}},
            {"TLOLogo", P::EditFirst, {}},
        };
    }();
    return table;
}

// Every other kind is drawn by the user.
const TKindSetUp& SetUpFor(const QString& kindName) {
    static const TKindSetUp drawn{"", TPlacing::Interactive, {}};
    for (const TKindSetUp& s : KindSetUps())
        if (kindName == QLatin1String(s.Kind)) return s;
    return drawn;
}

bool ValueFits(TPropKind kind, const TPropValue& value) {
    switch (kind) {
    case TPropKind::Integer:
    case TPropKind::Int64:
    case TPropKind::Enumeration:
    case TPropKind::Set:
        return std::holds_alternative<int64_t>(value);
    case TPropKind::Boolean:
        return std::holds_alternative<bool>(value);
    case TPropKind::Float:
    case TPropKind::DateTime:
        return std::holds_alternative<double>(value);
    case TPropKind::String:
        return std::holds_alternative<QString>(value);
    default:
        return false;
    }
}

// The published property at path, when the object has one that can be set.
const TPropInfo* SettableProperty(TPersistent& object, const QString& path, TPersistent*& target) {
    QString last;
    target = ResolvePropertyPath(object, path, last);
    if (!target) return nullptr;
    const TPropInfo* p = target->ClassType().FindProperty(last);
    return p && p->Set ? p : nullptr;
}

// Nothing happens when the kind has no such property.
void SetPublished(TPersistent& object, const QString& path, const TPropValue& value) {
    TPersistent* target = nullptr;
    if (const TPropInfo* p = SettableProperty(object, path, target); p && ValueFits(p->Kind, value))
        p->Set(*target, value);
}

void SetClipboardText(TDrawObject& object) {
    if (!qGuiApp) return;
    TPersistent* target = nullptr;
    const TPropInfo* p = SettableProperty(object, QStringLiteral("Text"), target);
    if (!p || p->Kind != TPropKind::StringList) return;
    if (auto* lines = dynamic_cast<TStringList*>(std::get<TPersistent*>(p->Get(*target))))
        lines->SetText(QGuiApplication::clipboard()->text());
}

void SetUp(TDrawObject& object, const TKindSetUp& setUp, const IDrawSite& site) {
    for (const auto& [path, value] : setUp.Properties) SetPublished(object, path, value);
    if (setUp.Steps & ssDateNow) SetPublished(object, QStringLiteral("Date"), NowDateTime());
    if (setUp.Steps & ssFillsSite) {
        if (auto* framed = dynamic_cast<TLORectBase*>(&object)) {
            const TPoint size = site.LogicalSize();
            framed->SetRect({0, 0, size.X, size.Y});
        }
        object.SetEnabled(false);
        object.SetSelectable(false);
    }
    if (setUp.Steps & ssClipboardText) SetClipboardText(object);
    if ((setUp.Steps & ssClipboardPicture) && PicturePaster()) PicturePaster()(object);
}

} // namespace

QString TLOCreator::ClassForKind(const QString& kindName) {
    static const std::pair<const char*, const char*> kinds[] = {
        {"TLOLine", "TLOLine"},
        {"TLODecoLine", "TLODecoLine"},
        {"TLOCurve", "TLOCurve"},
        {"TLOCircle", "TLOCircle"},
        {"TLORect", "TLORect"},
        {"TLOJANCode", "TLOJANCode"},
        {"TLOImage", "TLOImageV3"},
        {"TLOImagePaste", "TLOImageV3"},
        {"TLOOnePoint", "TLOImageV3"},
        {"TLOTwain", "TLOImageV3"},
        {"TLOText", "TLOTextMeishiV3"},
        {"TLOTextPaste", "TLOTextMeishiV3"},
        {"TLOField", "TLOTextMeishiV3"},
        {"TLODate", "TLODate"},
        {"TLOBackImage", "TLOBackImageV3"},
        {"TLODecoString", "TLODecoString"},
        {"TLOFacePhoto", "TLOProfilePhoto"},
        {"TLOLogoPhoto", "TLOProfilePhoto"},
        {"TLOLogo", "TLOMeishiLogo"},
    };
    for (const auto& [kind, cls] : kinds)
        if (kindName == QLatin1String(kind)) return QString::fromLatin1(cls);
    return kindName;
}

std::unique_ptr<TDrawObject> TLOCreator::NewObject(const QString& kindName) {
    const TClassInfo* info = GetClass(ClassForKind(kindName));
    if (!info || !info->InheritsFrom(TDrawObject::StaticClass())) return nullptr;
    std::unique_ptr<TPersistent> made(info->Create(nullptr));
    return TakeAs<TDrawObject>(made);
}

bool TLOCreator::CreateObject(IDrawSite* site, const QString& kindName) {
    if (!site) return false;
    std::unique_ptr<TDrawObject> made = DODesigners().NewObject(kindName);
    if (!made) return false;
    const TKindSetUp& setUp = SetUpFor(kindName);
    SetUp(*made, setUp, *site);

    TComponent& owner = site->ObjectOwner();
    TDrawObject* object = &owner.Adopt(std::move(made));
    site->ClearGhosts();
    if (const auto& hook = site->NewObjectHook()) {
        hook(object);
        object->SetSelected(false);
    }
    site->SetCursor(crDefault);

    bool edited = setUp.Placing != TPlacing::EditFirst;
    {
        // An object the user did not finish editing goes again.
        auto discard = qScopeGuard([&owner, object] { owner.FreeComponent(*object); });
        if (!edited) edited = DODesigners().EditObject(object);
        if (!edited) return false;
        discard.dismiss();
    }
    object->SetCursor(crHandPoint);
    site->AddObject(*object);

    if (setUp.Placing == TPlacing::Interactive) {
        object->SetVisible(false);
        site->SetCursor(crCross);
        if (DODesigners().StartGhost(object, -2)) return true;
        // Nobody lets the user draw it: a hidden object must not stay behind.
        owner.FreeComponent(*object);
        site->SetCursor(crDefault);
        return false;
    }
    if (object->Selectable()) FitObjectToSite(*object, *site);
    if (AddedObjectRecorder()) AddedObjectRecorder()(*object, QStringLiteral("追加"));
    if (object->Selectable()) {
        site->SelectAll(false);
        object->SetSelected(true);
        site->RefreshHandles();
    }
    return true;
}

void TLOCreator::SetAddedObjectRecorder(TAddedObjectRecorder recorder) {
    AddedObjectRecorder() = std::move(recorder);
}

void TLOCreator::SetPicturePaster(TPicturePaster paster) { PicturePaster() = std::move(paster); }

} // namespace vellum
