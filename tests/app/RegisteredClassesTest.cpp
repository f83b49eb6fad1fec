// Checks that hold for every class the program registers at start-up, so
// they grow with every kind that lands.
#include "app/StartupRegistrations.h"
#include "base/ClassRegistry.h"
#include "base/Component.h"
#include "base/Filer.h"
#include "base/Stream.h"
#include "base/StringList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vellum;

namespace {

std::vector<const TClassInfo*> Concrete() {
    static const bool once = (RegisterStartupClasses(), true);
    (void)once;
    std::vector<const TClassInfo*> out;
    for (const TClassInfo* c : RegisteredClasses())
        if (!c->IsAbstract() && c->InheritsFrom(TComponent::StaticClass())) out.push_back(c);
    return out;
}

// A value other than the current one for every plain property.
void SetEveryProperty(TPersistent& o) {
    for (const TPropInfo& p : o.ClassType().Properties()) {
        if (!p.IsReadWrite() || p.Name == QStringLiteral("Name")) continue;
        const TPropValue v = p.Get(o);
        switch (p.Kind) {
        case TPropKind::Integer:
        case TPropKind::Int64:
            p.Set(o, std::get<int64_t>(v) + 7);
            break;
        case TPropKind::Boolean:
            p.Set(o, !std::get<bool>(v));
            break;
        case TPropKind::Enumeration:
            if (p.Idents && p.Idents->Names.size() > 1)
                p.Set(o, (std::get<int64_t>(v) + 1) % p.Idents->Names.size());
            break;
        case TPropKind::Set:
            p.Set(o, std::get<int64_t>(v) ^ 1);
            break;
        case TPropKind::Float:
        case TPropKind::DateTime:
            p.Set(o, std::get<double>(v) + 1.5);
            break;
        case TPropKind::String:
            p.Set(o, std::get<QString>(v) + QStringLiteral("名刺"));
            break;
        case TPropKind::StringList:
            if (auto* lines = dynamic_cast<TStringList*>(std::get<TPersistent*>(v)))
                lines->Add(QStringLiteral("行"));
            break;
        case TPropKind::Object:
            if (TPersistent* nested = std::get<TPersistent*>(v)) SetEveryProperty(*nested);
            break;
        default:
            break;
        }
    }
}

} // namespace

TEST(RegisteredClasses, DeclaredDefaultsMatchFreshObjects) {
    ASSERT_FALSE(Concrete().empty());
    for (const TClassInfo* c : Concrete())
        EXPECT_EQ(CheckDeclaredDefaults(*c), QStringList()) << c->Name().toStdString();
}

TEST(RegisteredClasses, WriteReadWriteIsByteIdentical) {
    for (const TClassInfo* c : Concrete()) {
        std::unique_ptr<TComponent> object(dynamic_cast<TComponent*>(c->Create(nullptr)));
        ASSERT_NE(object, nullptr) << c->Name().toStdString();
        SetEveryProperty(*object);
        TMemoryStream first;
        WriteComponent(first, *object);
        first.SetPosition(0);
        std::unique_ptr<TComponent> back(ReadComponent(first));
        TMemoryStream second;
        WriteComponent(second, *back);
        EXPECT_EQ(second.Data(), first.Data()) << c->Name().toStdString();
        EXPECT_EQ(back->ClassName(), c->Name());
    }
}
