#pragma once
// Registers the paper classes for streaming; called once at start-up.

namespace vellum {

void RegisterPaperClasses();

} // namespace vellum
