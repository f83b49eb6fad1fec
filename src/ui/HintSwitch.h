#pragma once
// Tool tips of the whole running program, on or off ("DefaultShowHint").

namespace vellum {

class THintSwitch {
public:
    static void Apply(bool showHints);
    static bool ShowHints();
};

} // namespace vellum
