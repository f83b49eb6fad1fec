#pragma once
// The tool's commands on documents and the paper catalogue: new, convert,
// info, dump (the component viewer), papers and export.

namespace vellum {

class TBatchTool;

void AddDocumentCommands(TBatchTool& tool);

} // namespace vellum
