#pragma once

#include "UploadSink.h"

#include <filesystem>
#include <fstream>
#include <string>

// The --received folder: every upload's data lines, exactly as they came,
// in one file per upload named <n>-<CATEGORY>.txt, n counting from 1.
class ReceivedStore : public UploadSink {
public:
    explicit ReceivedStore(std::filesystem::path dir);

    void UploadStarted(const std::string& category) override;
    void UploadLine(const std::string& bytes) override;
    void UploadEnded(bool completed) override;

private:
    std::filesystem::path dir_;
    int count_ = 0;
    std::ofstream file_;
};
