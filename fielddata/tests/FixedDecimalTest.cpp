#include "fielddata/FixedDecimal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

std::string Text(const std::optional<FixedDecimal>& value) {
    std::string out;
    if (!value) {
        return "<none>";
    }
    value->AppendTo(out);
    return out;
}

TEST(FixedDecimal, ParsedTextComesBackWithItsPlaces) {
    const std::pair<const char*, const char*> cases[] = {
        {"1234.567", "1234.567"},
        {"-45.678", "-45.678"},
        {"+12.30", "12.30"},
        {"-0.000", "0.000"},
        {"7", "7"},
        {".5", "0.5"},
        {"12.", "12"},
        {"0000.0100", "0.0100"},
        {"999999999999999999", "999999999999999999"},
        {"", "<none>"},
        {"-", "<none>"},
        {".", "<none>"},
        {"1.2.3", "<none>"},
        {"1e5", "<none>"},
        {" 1.0", "<none>"},
        {"1,5", "<none>"},
        {"--1", "<none>"},
        {"1234567890123456789", "<none>"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Text(FixedDecimal::Parse(text)), expected) << text;
    }
}

TEST(FixedDecimal, RoundedValues) {
    EXPECT_EQ(Text(FixedDecimal::Round(-1234.5676, 3)), "-1234.568");
    EXPECT_EQ(Text(FixedDecimal::Round(-0.0001, 3)), "0.000");
    EXPECT_EQ(Text(FixedDecimal::Round(1e20, 3)), "<none>");
    EXPECT_DOUBLE_EQ(FixedDecimal(45678, 3, true).ToDouble(), -45.678);
}

} // namespace
