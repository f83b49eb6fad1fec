#include "base/ClassInfo.h"

#include "base/Persistent.h"

#include <memory>

namespace vellum {

bool TPropInfo::IsStored(const TPersistent& object) const {
    switch (Stored) {
    case TStoredRule::Always:
        return true;
    case TStoredRule::Never:
        return false;
    case TStoredRule::Predicate:
        return StoredTest ? StoredTest(object) : true;
    }
    return true;
}

TClassInfo TClassInfo::MakeRoot(const char* name, TFactory factory) {
    TClassInfo info;
    info.FName = QString::fromLatin1(name);
    info.FFactory = std::move(factory);
    return info;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == &other) return true;
    return false;
}

TPersistent* TClassInfo::Create(TComponent* owner) const { return FFactory ? FFactory(owner) : nullptr; }

const TPropInfo* TClassInfo::FindProperty(const QString& name) const {
    for (const TPropInfo& p : FProperties)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

bool IsNestedObjectProperty(const TPropInfo& p) {
    return p.Kind == TPropKind::Object || p.Kind == TPropKind::StringList || p.Kind == TPropKind::Collection;
}

TPersistent* ResolvePropertyPath(TPersistent& instance, const QString& path, QString& last) {
    const QStringList parts = path.split(u'.');
    TPersistent* target = &instance;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const TPropInfo* p = target->ClassType().FindProperty(parts[i]);
        if (!p || !IsNestedObjectProperty(*p) || !p->Get) return nullptr;
        target = std::get<TPersistent*>(p->Get(*target));
        if (!target) return nullptr;
    }
    last = parts.last();
    return target;
}

TPropInfo& TClassInfo::Declare(TPropInfo info) {
    for (TPropInfo& p : FProperties) {
        if (p.Name.compare(info.Name, Qt::CaseInsensitive) == 0) {
            info.Index = p.Index;
            p = std::move(info);
            return p;
        }
    }
    info.Index = int(FProperties.size());
    FProperties.push_back(std::move(info));
    return FProperties.back();
}

QStringList CheckDeclaredDefaults(const TClassInfo& info) {
    QStringList mismatches;
    std::unique_ptr<TPersistent> object(info.Create(nullptr));
    if (!object) return mismatches;
    for (const TPropInfo& p : info.Properties()) {
        if (!p.Default || !p.Get) continue;
        if (p.Get(*object) != *p.Default) mismatches << info.Name() + u'.' + p.Name;
    }
    return mismatches;
}

} // namespace vellum
