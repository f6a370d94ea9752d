#pragma once

#include <optional>
#include <string>
#include <vector>

// One attribute of a code: its name and the default value the instrument
// offers (info words 42 to 49).
struct CodeAttribute {
    std::string name;
    std::string value;
    bool operator==(const CodeAttribute&) const = default;
};

// The line a code was read from in an instrument list, kept so that a list
// opened and saved unchanged comes back byte for byte (block numbers, info
// fields and padding are the instrument's, not ours to renumber).
struct WireOrigin {
    int format = 0; // a CodeFormat
    std::string line;
    std::string code;
    std::string description;
    std::vector<std::string> values;
    bool operator==(const WireOrigin&) const = default;
};

// A feature code and how its points are drawn. Texts are UTF-8.
struct FeatureCode {
    static constexpr std::size_t kMaxAttributes = 8;

    std::string code{};
    std::string description{};
    std::string group{};
    std::vector<CodeAttribute> attributes{};
    std::string layer{};  // empty: the code itself
    std::string colour{}; // "#rrggbb"; empty: by layer
    std::string symbol{}; // a CodeSymbol name; empty: none
    bool line = false;    // points of this code are joined in measuring order
    std::optional<WireOrigin> origin{};

    std::vector<std::string> Values() const;
    // The drawing layer: the layer name, or the code when none is set.
    const std::string& LayerName() const { return layer.empty() ? code : layer; }
    bool operator==(const FeatureCode&) const = default;
};
