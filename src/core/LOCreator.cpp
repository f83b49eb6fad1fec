#include "core/LOCreator.h"

#include "base/ClassRegistry.h"
#include "core/DrawObject.h"

namespace vellum {

QString TLOCreator::ClassForKind(const QString& kindName) {
    static const std::pair<const char*, const char*> kinds[] = {
        {"TLOLine", "TLOLine"},           {"TLODecoLine", "TLODecoLine"},   {"TLOCurve", "TLOCurve"},
        {"TLOCircle", "TLOCircle"},       {"TLORect", "TLORect"},           {"TLOJANCode", "TLOJANCode"},
        {"TLOImage", "TLOImageV3"},       {"TLOImagePaste", "TLOImageV3"},  {"TLOOnePoint", "TLOImageV3"},
        {"TLOTwain", "TLOImageV3"},       {"TLOText", "TLOTextMeishiV3"},   {"TLOTextPaste", "TLOTextMeishiV3"},
        {"TLOField", "TLOTextMeishiV3"},  {"TLODate", "TLODate"},           {"TLOBackImage", "TLOBackImageV3"},
        {"TLODecoString", "TLODecoString"}, {"TLOFacePhoto", "TLOProfilePhoto"}, {"TLOLogoPhoto", "TLOProfilePhoto"},
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
    auto* object = dynamic_cast<TDrawObject*>(made.get());
    if (object) made.release();
    return std::unique_ptr<TDrawObject>(object);
}

} // namespace vellum
