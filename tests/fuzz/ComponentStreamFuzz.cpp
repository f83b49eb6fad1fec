// Any bytes read as a component stream either give an object or raise one
// of the reading errors; never a crash, a hang or a leak.
#include "base/ClassRegistry.h"
#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/Filer.h"
#include "base/IdentTables.h"
#include "base/Stream.h"
#include "base/StringList.h"

#include <memory>

namespace {

using namespace vellum;

class TFuzzObject : public TComponent {
    VELLUM_CLASS(TFuzzObject)
public:
    using TComponent::TComponent;
    void GetChildren(const std::function<void(TComponent*)>& proc) const override {
        for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
    }
    int64_t Number = 0, Kind = 0, Bits = 0;
    bool Flag = false;
    double Real = 0;
    QString Text;
    TStringList Lines;
    TComponent* Link = nullptr;
};

} // namespace

const TClassInfo& TFuzzObject::StaticClass() {
    using T = TFuzzObject;
    static const TClassInfo info = TClassInfo::Make<T, TComponent>("TFuzzObject", [](auto& b) {
        b.Integer(
             "Number", [](const T& o) { return o.Number; },
             [](T& o, const TPropValue& v) { o.Number = std::get<int64_t>(v); })
            .Idents(CursorIdents());
        b.Enumeration(
            "Kind", {"kA", "kB"}, [](const T& o) { return o.Kind; },
            [](T& o, const TPropValue& v) { o.Kind = std::get<int64_t>(v); });
        b.SetOf(
            "Bits", {"b0", "b1"}, [](const T& o) { return o.Bits; },
            [](T& o, const TPropValue& v) { o.Bits = std::get<int64_t>(v); });
        b.Boolean(
            "Flag", [](const T& o) { return o.Flag; },
            [](T& o, const TPropValue& v) { o.Flag = std::get<bool>(v); });
        b.Float(
            "Real", [](const T& o) { return o.Real; },
            [](T& o, const TPropValue& v) { o.Real = std::get<double>(v); });
        b.String(
            "Text", [](const T& o) { return o.Text; },
            [](T& o, const TPropValue& v) { o.Text = std::get<QString>(v); });
        b.Owned("Lines", TPropKind::StringList, [](const T& o) { return &o.Lines; });
        b.Property(
            "Link", TPropKind::ComponentRef, [](const T& o) { return o.Link; },
            [](T& o, const TPropValue& v) { o.Link = dynamic_cast<TComponent*>(std::get<TPersistent*>(v)); });
    });
    return info;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = (RegisterClass(TFuzzObject::StaticClass()), true);
    (void)registered;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The same bytes as a plain stream and, with the first byte deciding, as a resource-wrapped one.
    for (bool wrapped : {false, true}) {
        TMemoryStream stream(bytes);
        try {
            std::unique_ptr<TComponent> object(wrapped ? ReadComponentRes(stream) : ReadComponent(stream));
            // What was read must write again.
            TMemoryStream out;
            WriteComponentRes(out, QStringLiteral("Fuzz"), *object);
        } catch (const Exception&) {
        }
    }
    return 0;
}
