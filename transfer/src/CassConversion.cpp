#include "transfer/CassConversion.h"

#include "fielddata/GsiWord.h"

#include <cstring>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool HasAt(std::string_view data, std::size_t at, std::string_view pattern) {
    return data.size() - at >= pattern.size() && data.compare(at, pattern.size(), pattern) == 0;
}

} // namespace

CassConversion::CassConversion(ByteSink& out) : out_(out) {}

// The walk starts at the CR of the third CR LF; nothing before it counts.
std::size_t CassConversion::FirstProcessed(std::string_view data) {
    std::size_t lines = 0;
    std::size_t from = 1;
    while (from < data.size()) {
        const void* found = std::memchr(data.data() + from, '\n', data.size() - from);
        if (found == nullptr) {
            break;
        }
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - data.data());
        if (data[lf - 1] == '\r' && ++lines == kSkippedLines) {
            return lf - 1;
        }
        from = lf + 1;
    }
    return data.size();
}

void CassConversion::Convert(std::string_view data) {
    data_ = data;
    code_ = {};
    inWord_ = {};
    wordStart_ = 0;
    firstPoint_ = true;
    pointLocated_ = false;
    points_ = 0;
    located_ = 0;
    for (std::size_t at = FirstProcessed(data); at < data.size(); ++at) {
        switch (data[at]) {
        case '*':
            OnStar(at);
            break;
        case '8':
            OnEight(at);
            break;
        case ' ':
            OnBlank(at);
            break;
        default:
            break;
        }
    }
    out_.Write(kLineEnd);
}

void CassConversion::Begin(Word kind, std::size_t at) {
    inWord_[kind] = true;
    wordStart_ = at;
}

void CassConversion::OnStar(std::size_t at) {
    if (HasAt(data_, at, "*41")) {
        Begin(Code, at);
    } else if (HasAt(data_, at, "*11")) {
        if (!firstPoint_) {
            out_.Write(kLineEnd);
        }
        firstPoint_ = false;
        pointLocated_ = false;
        ++points_;
        Begin(Name, at);
    }
}

// "81..", "82.." or "83..": the digit after the "8" picks the word kind.
void CassConversion::OnEight(std::size_t at) {
    if (data_.size() - at < 4 || data_[at + 2] != '.' || data_[at + 3] != '.') {
        return;
    }
    const char index = data_[at + 1];
    if (index >= '1' && index <= '3') {
        Begin(static_cast<Word>(East + (index - '1')), at);
    }
}

// Every word kind still open ends at this blank; they share one start, as
// a word that is not closed by its own blank is not supported.
void CassConversion::OnBlank(std::size_t at) {
    const std::string_view word = data_.substr(wordStart_, at - wordStart_);
    if (inWord_[Code]) {
        inWord_[Code] = false;
        code_ = GsiWord::ReadText(word);
    }
    if (inWord_[Name]) {
        inWord_[Name] = false;
        WriteName(word);
    }
    for (Word kind : {East, North, Height}) {
        if (inWord_[kind]) {
            inWord_[kind] = false;
            WriteCoordinate(kind, word);
        }
    }
}

void CassConversion::WriteName(std::string_view word) {
    const std::string_view name = GsiWord::ReadText(word);
    if (!name.empty()) {
        out_.Write(name);
    }
}

// An unreadable word still gets its comma (and the height its code), so the
// later columns stay where they belong.
void CassConversion::WriteCoordinate(Word kind, std::string_view word) {
    if (!pointLocated_ && !firstPoint_) {
        pointLocated_ = true;
        ++located_;
    }
    piece_.assign(1, ',');
    GsiWord::AppendValue(word, piece_);
    if (kind == Height) {
        piece_ += ',';
        piece_.append(code_);
    }
    out_.Write(piece_);
}
