#pragma once

#include <utility>

#include "session/SessionQuestions.h"

class CLeftView;

// The questions of the instrument tree's operations, answered by the user
// in message boxes run through the tree (so tests answer them as a user).
class WindowQuestions : public SessionQuestions {
public:
    explicit WindowQuestions(CLeftView& view) : view_(view) {}

    ExistingFile AskExistingFile(const std::string& path, const std::string& keepBothPath) override;
    bool AskReplaceInstrumentData(const std::string& notice) override;
    // A transfer or an erase runs while its port is being closed.
    bool AskStopAndDisconnect();
    // Whether the user said no to a question since this was last asked: an
    // operation they declined needs no message saying it did not start.
    bool TakeDeclined() { return std::exchange(declined_, false); }

private:
    CLeftView& view_;
    bool declined_ = false;
};
