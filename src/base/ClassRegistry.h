#pragma once
// The process-wide registry of persistent classes that streams create
// objects from by name, with aliases mapping retired class names to their
// successors. Registration is explicit, at start-up.

#include "base/ClassInfo.h"

#include <QString>

#include <vector>

namespace vellum {

// Adds the class and its ancestors up to the first one already present.
// Raises EFilerError "クラス名 %s はすでに使われています" for another class of a registered name.
void RegisterClass(const TClassInfo& info);
void RegisterClasses(std::initializer_list<const TClassInfo*> infos);
// Removes that class only (its ancestors stay).
void UnRegisterClass(const TClassInfo& info);
// Registers the class and records alias as another name of it.
void RegisterClassAlias(const TClassInfo& info, const QString& alias);
// A registered class of that name (case-insensitive), else an alias; null when neither.
const TClassInfo* GetClass(const QString& name);
// As GetClass; raises EClassNotFound "クラス %s が見つかりません" when there is none.
const TClassInfo& FindClass(const QString& name);
// Every registered class in registration order.
std::vector<const TClassInfo*> RegisteredClasses();
// Empties the registry (for programs that register a different set, and tests).
void ClearClassRegistry();

} // namespace vellum
