#pragma once
// File dialogs answered from a queue, recording what was asked; an empty
// queue cancels.

#include "commands/FileDialogs.h"

#include <deque>
#include <vector>

namespace vellum::test {

class TScriptedDialogs : public IFileDialogs {
public:
    std::deque<TFileDialogAnswer> Answers;
    std::vector<TFileDialogRequest> Asked;

    TFileDialogAnswer OpenFile(const TFileDialogRequest& r) override { return Answer(r); }
    TFileDialogAnswer SaveFile(const TFileDialogRequest& r) override { return Answer(r); }

private:
    TFileDialogAnswer Answer(const TFileDialogRequest& r) {
        Asked.push_back(r);
        if (Answers.empty()) return {};
        TFileDialogAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
};

} // namespace vellum::test
