#pragma once
// The tool's print command: a document's sheets printed to a PDF file by
// the same print site as the print dialog.

namespace vellum {

class TBatchTool;

void AddPrintCommand(TBatchTool& tool);

} // namespace vellum
