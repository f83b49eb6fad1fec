#pragma once
// Registers the persistent classes of the document model for streaming.

namespace vellum {

void RegisterCoreClasses();

} // namespace vellum
