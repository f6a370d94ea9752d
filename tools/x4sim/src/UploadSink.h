#pragma once

#include <string>

// Told about every upload the instrument receives, line by line.
class UploadSink {
public:
    virtual ~UploadSink() = default;
    // category: "JOB", "COD", "HAL" or "VAL".
    virtual void UploadStarted(const std::string& category) = 0;
    // One data line exactly as received, CR LF included.
    virtual void UploadLine(const std::string& bytes) = 0;
    // completed: the end-of-file bytes came; otherwise the transfer was
    // abandoned and the instrument kept nothing.
    virtual void UploadEnded(bool completed) = 0;

protected:
    UploadSink() = default;
    UploadSink(const UploadSink&) = default;
    UploadSink& operator=(const UploadSink&) = default;
};
