#include "base/ClassRegistry.h"

#include "base/Exceptions.h"
#include "base/Format.h"

#include <algorithm>
#include <mutex>

namespace vellum {
namespace {

struct TRegistry {
    std::mutex Lock;
    std::vector<const TClassInfo*> Classes;
    std::vector<std::pair<QString, const TClassInfo*>> Aliases;

    const TClassInfo* ByName(const QString& name) const {
        for (const TClassInfo* c : Classes)
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0) return c;
        return nullptr;
    }
    void Add(const TClassInfo& info) {
        for (const TClassInfo* c = &info; c; c = c->Parent()) {
            const TClassInfo* same = ByName(c->Name());
            if (same == c) break; // present: so are its ancestors
            if (same)
                throw EFilerError(Format(QStringLiteral("クラス名 %s はすでに使われています"), c->Name()));
            Classes.push_back(c);
        }
    }
};

TRegistry& Registry() {
    static TRegistry r;
    return r;
}

} // namespace

void RegisterClass(const TClassInfo& info) {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    r.Add(info);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> infos) {
    for (const TClassInfo* info : infos) RegisterClass(*info);
}

void UnRegisterClass(const TClassInfo& info) {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    r.Classes.erase(std::remove(r.Classes.begin(), r.Classes.end(), &info), r.Classes.end());
}

void RegisterClassAlias(const TClassInfo& info, const QString& alias) {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    r.Add(info);
    for (auto& a : r.Aliases) {
        if (a.first.compare(alias, Qt::CaseInsensitive) == 0) {
            a.second = &info;
            return;
        }
    }
    r.Aliases.emplace_back(alias, &info);
}

const TClassInfo* GetClass(const QString& name) {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    if (const TClassInfo* c = r.ByName(name)) return c;
    for (const auto& a : r.Aliases)
        if (a.first.compare(name, Qt::CaseInsensitive) == 0) return a.second;
    return nullptr;
}

const TClassInfo& FindClass(const QString& name) {
    if (const TClassInfo* c = GetClass(name)) return *c;
    throw EClassNotFound(Format(QStringLiteral("クラス %s が見つかりません"), name));
}

std::vector<const TClassInfo*> RegisteredClasses() {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    return r.Classes;
}

void ClearClassRegistry() {
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    r.Classes.clear();
    r.Aliases.clear();
}

} // namespace vellum
