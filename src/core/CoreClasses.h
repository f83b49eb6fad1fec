#pragma once
// Registers the drawing-object classes of the document model for streaming
// (the object kinds' start-up registration calls it in its place).

namespace vellum {

void RegisterCoreClasses();

} // namespace vellum
