#pragma once

#include <string>
#include <string_view>

// The single- or double-byte code page of the serial line and of the PC
// files that go to the instrument. Windows-1252 maps every byte to one
// UTF-16 unit and back unchanged; another code page (an iconv name) may be
// chosen with the environment variable STATIONLINK_CODEPAGE.
class CodePage {
public:
    static constexpr const char* kEnvironmentVariable = "STATIONLINK_CODEPAGE";

    // The wire code page of this process, chosen once from the environment.
    static const CodePage& Wire();
    // Why the code page the environment names cannot be used (this system's
    // iconv does not know it), naming it; empty when it can. Every program
    // that reads or writes in the wire code page checks this at start: an
    // unknown name would give empty texts everywhere.
    static std::string WireProblem();

    // An empty name or any spelling of Windows-1252/CP1252 gives the built-in
    // table; other names go through iconv.
    explicit CodePage(std::string name);

    const std::string& Name() const { return name_; }
    bool IsBuiltIn() const { return builtIn_; }
    // Whether text can be converted both ways.
    bool IsKnown() const;

    std::u16string ToWide(std::string_view bytes) const;
    // Characters the code page cannot hold become '?'.
    std::string ToAnsi(std::u16string_view text) const;

    static constexpr char kReplacement = '?';

private:
    std::u16string ViaIconvToWide(std::string_view bytes) const;
    std::string ViaIconvToAnsi(std::u16string_view text) const;

    std::string name_;
    bool builtIn_;
};
