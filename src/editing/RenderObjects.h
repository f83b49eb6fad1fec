#pragma once
// A card's objects handed over to a draw site for editing.

namespace vellum {

class TDOList;
class TDrawSite;

// The site becomes the owner of every object of list and places each on
// top; list is emptied, also when placing fails (the site frees what it
// took, the rest is freed).
void GiveObjectsToSite(TDrawSite& site, TDOList& list);

} // namespace vellum
