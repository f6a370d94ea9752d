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

TEST(FixedDecimal, ExactSumsAndMorePlaces) {
    struct Case {
        const char* a;
        const char* b;
        const char* sum;
    };
    const Case cases[] = {
        {"1234.567", "0.5", "1235.067"},
        {"-45.678", "45.678", "0.000"},
        {"-1.5", "0.25", "-1.25"},
        {"0.001", "-1", "-0.999"},
        {"1.00005", "-2.1", "-1.09995"},
        {"999999999999999999", "1", "<none>"},
        {"-999999999999999999", "-0.1", "<none>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(FixedDecimal::Parse(c.a)->Plus(*FixedDecimal::Parse(c.b))), c.sum)
            << c.a << " + " << c.b;
    }
    EXPECT_EQ(Text(FixedDecimal::Parse("-1.5")->WithPlaces(4)), "-1.5000");
    EXPECT_EQ(Text(FixedDecimal::Parse("1.55")->WithPlaces(1)), "<none>");
    EXPECT_EQ(Text(FixedDecimal::Parse("12345678901234567")->WithPlaces(2)), "<none>");
    EXPECT_EQ(*FixedDecimal::Parse("-0.0"), *FixedDecimal::Parse("0.0"));
    EXPECT_FALSE(*FixedDecimal::Parse("1.5") == *FixedDecimal::Parse("1.50"));
}

} // namespace
