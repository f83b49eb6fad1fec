#pragma once
// Registers the document's classes for streaming; called once at start-up.

namespace vellum {

void RegisterDocumentClasses();

} // namespace vellum
