#pragma once
// Registers the card object kinds of this library with the class registry.

namespace vellum {

void RegisterObjectClasses();

} // namespace vellum
