#pragma once
// What the program's units register at start-up, in this order: the
// persistent classes streams create objects from, and the designers.

namespace vellum {

void RegisterStartupClasses();
// The object creator is registered last of the object unit's designers.
void RegisterStartupDesigners();
// Process-wide services of the libraries: the picture formats, the drawing
// objects' blend path and the report of objects that fail to paint.
void InstallStartupServices();

} // namespace vellum
