#pragma once
// The colour list of a gradation and how often it repeats.

#include "base/Broadcaster.h"
#include "base/Persistent.h"
#include "platform/Canvas.h"

#include <vector>

namespace vellum {

class TGradationColors : public TPersistent {
    VELLUM_CLASS(TGradationColors)
public:
    TGradationColors() = default;
    TChangeNotify& Notify() { return FNotify; }

    int Count() const { return int(FColors.size()); }
    // New entries are black.
    void SetCount(int count);
    // Raises EListError for an index outside 0 .. Count - 1.
    TColor Color(int index) const;
    void SetColor(int index, TColor color);
    const std::vector<TColor>& Colors() const { return FColors; }
    void SetColors(const std::vector<TColor>& colors);
    // At least 1.
    int RepeatCount() const { return FRepeatCount; }
    void SetRepeatCount(int count);
    // Count x RepeatCount entries, entry j = colour j mod Count.
    std::vector<TColor> Expanded() const;
    bool IsDefault() const;

    void Assign(const TPersistent* source) override;
    friend bool operator==(const TGradationColors& a, const TGradationColors& b) {
        return a.FColors == b.FColors && a.FRepeatCount == b.FRepeatCount;
    }

    // The binary "Colors": int32 count, then that many int32 colours.
    void ReadColors(TStream& stream);
    void WriteColors(TStream& stream) const;

private:
    std::vector<TColor> FColors{clWhite, clBlack};
    int FRepeatCount = 1;
    TChangeNotify FNotify{this};
};

} // namespace vellum
