#pragma once

#include "platform/LineErrorMarks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a capture has brought so far.
struct CaptureCounts {
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
    std::uint64_t blocks = 0;     // lines that read as GSI blocks
    std::uint64_t points = 0;     // of those, blocks of a point
    std::uint64_t blockJumps = 0; // places where the block numbers do not follow on
    std::uint64_t lineErrors = 0; // parity and framing errors and breaks
    std::uint64_t overruns = 0;
    std::uint64_t badBytes = 0; // bytes no GSI line may hold
};

// A received line with what is wrong with it.
struct CheckedLine {
    std::uint64_t number = 0; // from 1
    std::string text;         // without its line end
    std::vector<std::string> notes;
};

// Splits received bytes into lines (CR LF, LF or CR alone) and checks each:
// GSI blocks and points are counted, a block number that does not follow
// the one before (a lost block), line errors the port marked and bytes
// outside printable ASCII are noted on the line where they happened. It
// never alters or drops bytes: the raw capture is kept elsewhere.
class CaptureCheck {
public:
    // marks: offsets counted over all bytes taken so far.
    void Take(std::string_view data, const std::vector<LineErrorMarks::Mark>& marks);
    // Overruns the driver counted; noted on the line being received.
    void NoteOverruns(std::uint64_t count);
    // The last line, when it has no line end.
    void Finish();

    const CaptureCounts& Counts() const { return counts_; }
    // The lines completed since the last call.
    std::vector<CheckedLine> TakeLines();
    // Every note so far, as "line N: note".
    const std::vector<std::string>& Problems() const { return problems_; }

    // The block number of a GSI line ("110012+..." is block 12); none when
    // the line does not start with a point-name word.
    static std::optional<int> BlockNumber(std::string_view line);

    static constexpr std::size_t kMaxLine = 64 * 1024;

private:
    // Ends the line being read; `last` also takes the marks after its last
    // byte (a break at the very end of the stream has no byte of its own).
    void EndLine(bool last = false);
    void CheckBlock(CheckedLine& line);

    std::string current_;
    std::uint64_t lineStart_ = 0;
    std::vector<LineErrorMarks::Mark> pendingMarks_;
    std::uint64_t pendingOverruns_ = 0;
    bool afterCr_ = false;
    std::optional<int> lastBlock_;
    CaptureCounts counts_;
    std::vector<CheckedLine> ready_;
    std::vector<std::string> problems_;
};
