#pragma once
// Registers the profile classes for streaming; called once at start-up.

namespace vellum {

void RegisterProfileClasses();

} // namespace vellum
