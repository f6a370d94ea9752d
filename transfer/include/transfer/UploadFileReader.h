#pragma once

#include "transfer/UploadFile.h"

#include <string>
#include <string_view>

class CodePage;

// Reads a PC file for an upload, line by line in the wire code page, so that
// a raw download uploaded again goes back byte for byte. Lines end at LF
// with or without a CR before it; empty lines count, and so does a last
// line without a line end. A file with a line longer than the engine can
// send is refused as a whole, before anything is sent.
class UploadFileReader {
public:
    explicit UploadFileReader(const CodePage& codePage);

    // The path as the PC tree gives it.
    UploadFile Read(std::u16string_view pcPath) const;
    // The path as the file system takes it (UTF-8).
    UploadFile ReadLocal(const std::string& path) const;
    // The file's bytes already in memory; path only names it in messages.
    UploadFile FromBytes(std::string_view bytes, const std::string& path) const;

    static constexpr const char* kOpenError = "Pc File Open Error!";
    static constexpr const char* kEmptyFile = "File size Null";

private:
    bool SplitLines(std::string_view bytes, UploadFile& file) const;

    const CodePage& codePage_;
};
