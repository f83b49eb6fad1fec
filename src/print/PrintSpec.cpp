#include "print/PrintSpec.h"

namespace vellum {

void TPrintSpec::SetSelected(int card, bool selected) {
    if (card < 0) return;
    if (size_t(card) >= FaceSelection.size()) {
        if (!selected) return;
        FaceSelection.resize(size_t(card) + 1, 0);
    }
    FaceSelection[size_t(card)] = selected ? 1 : 0;
}

} // namespace vellum
