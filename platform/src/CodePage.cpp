#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>

namespace {

// Windows-1252 in the range 0x80..0x9F; the five undefined bytes keep their
// C1 control value so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Cp1252ToWide(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

bool WideToCp1252(char16_t unit, char& out) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        out = static_cast<char>(unit);
        return true;
    }
    const auto* found = std::find(kHighControls.begin(), kHighControls.end(), unit);
    if (found == kHighControls.end()) {
        return false;
    }
    out = static_cast<char>(0x80 + (found - kHighControls.begin()));
    return true;
}

bool IsCp1252Name(std::string name) {
    std::string compact;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            compact += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return compact.empty() || compact == "WINDOWS1252" || compact == "CP1252";
}

// Runs one iconv conversion over the whole input; an input sequence that
// cannot be converted is replaced by `replacement` and skipped by `skip`
// bytes, so bad data never stops the conversion.
std::string RunIconv(const std::string& to, const std::string& from, std::string_view input,
                     std::string_view replacement, std::size_t skip) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    std::string out;
    std::array<char, 4096> chunk{};
    auto* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.append(replacement);
            const std::size_t step = std::min(skip, inLeft);
            in += step;
            inLeft -= step;
        }
    }
    iconv_close(cd);
    return out;
}

std::string EnvironmentName() {
    const char* name = std::getenv(CodePage::kEnvironmentVariable);
    return name != nullptr ? name : "";
}

bool IconvKnows(const std::string& to, const std::string& from) {
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    iconv_close(cd);
    return true;
}

} // namespace

const CodePage& CodePage::Wire() {
    static const CodePage wire(EnvironmentName());
    return wire;
}

std::string CodePage::WireProblem() {
    const CodePage named(EnvironmentName());
    if (named.IsKnown()) {
        return {};
    }
    return std::string(kEnvironmentVariable) + " names the code page \"" + named.Name() +
           "\", which this system does not know";
}

bool CodePage::IsKnown() const {
    return builtIn_ || (IconvKnows("UTF-16LE", name_) && IconvKnows(name_, "UTF-16LE"));
}

CodePage::CodePage(std::string name)
    : name_(IsCp1252Name(name) ? std::string("WINDOWS-1252") : std::move(name)),
      builtIn_(name_ == "WINDOWS-1252") {}

std::u16string CodePage::ToWide(std::string_view bytes) const {
    if (!builtIn_) {
        return ViaIconvToWide(bytes);
    }
    std::u16string wide(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), wide.begin(),
                   [](char c) { return Cp1252ToWide(static_cast<unsigned char>(c)); });
    return wide;
}

std::string CodePage::ToAnsi(std::u16string_view text) const {
    if (!builtIn_) {
        return ViaIconvToAnsi(text);
    }
    std::string bytes(text.size(), '\0');
    std::transform(text.begin(), text.end(), bytes.begin(), [](char16_t unit) {
        char c = kReplacement;
        WideToCp1252(unit, c);
        return c;
    });
    return bytes;
}

std::u16string CodePage::ViaIconvToWide(std::string_view bytes) const {
    const std::string raw = RunIconv("UTF-16LE", name_, bytes, std::string_view("\xFD\xFF", 2), 1);
    std::u16string wide(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                        (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    }
    return wide;
}

std::string CodePage::ViaIconvToAnsi(std::u16string_view text) const {
    std::string raw;
    raw.reserve(text.size() * 2);
    for (char16_t unit : text) {
        raw += static_cast<char>(unit & 0xFF);
        raw += static_cast<char>(unit >> 8);
    }
    return RunIconv(name_, "UTF-16LE", raw, std::string_view(&kReplacement, 1), 2);
}
