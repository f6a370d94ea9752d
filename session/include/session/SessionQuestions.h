#pragma once

#include <string>

// The questions an operation asks before it replaces anything. The window
// answers them with its dialogs, the command line with its options; a
// session without an answerer replaces nothing.
class SessionQuestions {
public:
    enum class ExistingFile { Replace, KeepBoth, Cancel };

    virtual ~SessionQuestions() = default;
    // A download's destination exists (paths UTF-8, as the file system takes
    // them); keepBothPath is the free name beside it that keeping both takes.
    virtual ExistingFile AskExistingFile(const std::string& path,
                                         const std::string& keepBothPath) = 0;
    // An upload would replace what an instrument entry holds; notice says
    // what ("BRIDGE holds 24 fixed points; the upload replaces them with the
    // 12 of site.gsi"). True: go ahead.
    virtual bool AskReplaceInstrumentData(const std::string& notice) = 0;
};
