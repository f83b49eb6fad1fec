#pragma once
// The frames and cut marks of one sheet, on a canvas mapped to logical units
// with (0, 0) at the sheet's corner. An edge or mark that neighbouring cards
// share is drawn once.

#include "print/PrintSpec.h"

#include <functional>

namespace vellum {

class TCanvas;
class TPaperInfo;

// Crop marks are 2.0 mm long; crosses reach 1.0 mm each way.
inline constexpr int32_t kCropMarkLength = 20;
inline constexpr int32_t kCrossArm = 10;

// stop: asked before each card; true ends the drawing (an aborted job).
void DrawCutLines(TCanvas& canvas, const TPaperInfo& paper, const TPrintSpec& job,
                  const std::function<bool()>& stop = {});

} // namespace vellum
