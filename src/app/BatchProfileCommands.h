#pragma once
// The tool's commands on the profile database: profiles list, import and export.

namespace vellum {

class TBatchTool;

void AddProfileCommands(TBatchTool& tool);

} // namespace vellum
