#include "SampleJobs.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

const std::string kNameCharacters = "ABCDEFGHKLMNPRSTUVWXYZ123456789-._";

// A word: six characters of index and information, the sign, the data
// padded with zeros to the width; the first word of a GSI-16 block is
// marked with "*".
std::string Word(const std::string& head, char sign, const std::string& data, int width) {
    return head + sign + std::string(width - data.size(), '0') + data;
}

std::string Block(const std::vector<std::string>& words, int width) {
    std::string block = width == 16 ? "*" : "";
    for (const std::string& word : words) {
        block += word + " ";
    }
    return block + "\r\n";
}

std::string Length(const char* index, const SampleValue& value, int width) {
    return Word(std::string(index) + "..0" + value.units, value.negative ? '-' : '+',
                std::to_string(value.digits), width);
}

std::string Name(std::size_t length, std::mt19937& random) {
    std::string name(1, kNameCharacters[random() % 26]); // no leading zero, which GSI drops
    while (name.size() < length) {
        name += kNameCharacters[random() % kNameCharacters.size()];
    }
    return name;
}

std::string Head(const char* index, int block) {
    const std::string number = std::to_string(block % 10000);
    return index + std::string(4 - number.size(), '0') + number;
}

} // namespace

int SampleValue::Places() const {
    return units == '8' ? 5 : units == '6' || units == '7' ? 4 : 3;
}

std::string SampleValue::Text() const {
    std::string digitsText = std::to_string(digits);
    if (digitsText.size() <= static_cast<std::size_t>(Places())) {
        digitsText.insert(0, Places() + 1 - digitsText.size(), '0');
    }
    digitsText.insert(digitsText.size() - Places(), ".");
    return (negative && digits != 0 ? "-" : "") + digitsText;
}

double SampleValue::Value() const {
    return std::stod(Text());
}

int SamplePoint::Places() const {
    return std::max({east.Places(), north.Places(), height ? height->Places() : 0});
}

std::vector<SamplePoint> SamplePoints(int width) {
    const std::string units = "01678";
    std::mt19937 random(static_cast<unsigned>(width));
    std::vector<SamplePoint> points;
    for (int i = 0; i < 3 * width; ++i) {
        // Up to the width's digits, and below ten thousand kilometres.
        const auto value = [&](int k) {
            SampleValue sample{units[(i + k) % units.size()], (i + k) % 2 == 1, 0};
            const auto limit = static_cast<std::uint64_t>(
                std::min(std::pow(10.0, width) - 1, std::pow(10.0, 7 + sample.Places()) - 1));
            sample.digits = std::uniform_int_distribution<std::uint64_t>(0, limit)(random);
            return sample;
        };
        SamplePoint point{Name(1 + i % width, random), i < 4 ? "" : "C" + std::to_string(i / 5),
                          value(0), value(1), std::nullopt};
        if (i % 4 != 3) {
            point.height = value(2);
        }
        points.push_back(point);
    }
    return points;
}

std::string GsiJobText(const std::vector<SamplePoint>& points, int width) {
    std::string text;
    std::string code;
    int block = 0;
    for (const SamplePoint& point : points) {
        if (point.code != code) {
            code = point.code;
            text += Block({Word(Head("41", ++block), '+', code, width)}, width);
        }
        std::vector<std::string> words = {Word(Head("11", ++block), '+', point.name, width),
                                          Length("81", point.east, width),
                                          Length("82", point.north, width)};
        if (point.height) {
            words.push_back(Length("83", *point.height, width));
        }
        text += Block(words, width);
    }
    return text;
}

std::string DatText(const std::vector<SamplePoint>& points) {
    std::string text;
    for (const SamplePoint& point : points) {
        text += point.name + "," + point.east.Text() + "," + point.north.Text() + "," +
                (point.height ? point.height->Text() : "") + "," + point.code + "\r\n";
    }
    return text;
}
