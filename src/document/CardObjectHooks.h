#pragma once
// What kinds of drawing objects built on top of the document need from it:
// a fix-up as a card's object is read, the lists that are stored as an
// empty card, and the profile field a bound object refers to (renumbered
// when a document of the older field layout is loaded). Each kind installs
// its hooks at start-up; the document knows no kind by name.
#include <functional>
#include <optional>
#include <vector>

namespace vellum {

class TDOList;
class TDrawObject;
class TLabelData;
class TOwnedDOList;

struct TCardObjectHooks {
    // Called for an object just appended to list while card `card` is read.
    // It may replace the object (TOwnedDOList::Replace, storing the new one
    // in object too) and insert others anywhere in the list.
    std::function<void(TLabelData& doc, int card, TOwnedDOList& list, TDrawObject*& object)> Loaded;
    // True for a list whose card is stored empty.
    std::function<bool(const TDOList& list)> StoresNothing;
    // The field number an object is bound to, none for other objects.
    std::function<std::optional<int>(const TDrawObject& object)> ProfileField;
    std::function<void(TDrawObject& object, int fieldNo)> SetProfileField;
};

// Returns an id for RemoveCardObjectHooks. Hooks apply in the order added.
int AddCardObjectHooks(TCardObjectHooks hooks);
void RemoveCardObjectHooks(int id);
std::vector<TCardObjectHooks> InstalledCardObjectHooks();

} // namespace vellum
