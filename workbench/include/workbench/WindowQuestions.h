#pragma once

#include "session/SessionQuestions.h"

class CLeftView;

// The questions of the instrument tree's operations, answered by the user
// in message boxes run through the tree (so tests answer them as a user).
class WindowQuestions : public SessionQuestions {
public:
    explicit WindowQuestions(CLeftView& view) : view_(view) {}

    ExistingFile AskExistingFile(const std::string& path) override;
    bool AskReplaceInstrumentData(const std::string& notice) override;
    // A transfer or an erase runs while its port is being closed.
    bool AskStopAndDisconnect();

private:
    CLeftView& view_;
};
