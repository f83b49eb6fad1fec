#include "document/CardObjectHooks.h"

#include <algorithm>
#include <utility>

namespace vellum {

namespace {

struct TInstalled {
    int Id;
    TCardObjectHooks Hooks;
};

std::vector<TInstalled>& Installed() {
    static std::vector<TInstalled> installed;
    return installed;
}

} // namespace

int AddCardObjectHooks(TCardObjectHooks hooks) {
    static int next = 1;
    Installed().push_back({next, std::move(hooks)});
    return next++;
}

void RemoveCardObjectHooks(int id) {
    std::erase_if(Installed(), [id](const TInstalled& entry) { return entry.Id == id; });
}

std::vector<TCardObjectHooks> InstalledCardObjectHooks() {
    std::vector<TCardObjectHooks> hooks;
    for (const TInstalled& entry : Installed()) hooks.push_back(entry.Hooks);
    return hooks;
}

} // namespace vellum
