#include "ObservationJobs.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string Word(const std::string& head, std::int64_t value, int width) {
    const std::string digits = std::to_string(std::llabs(value));
    return head + (value < 0 ? '-' : '+') + std::string(width - digits.size(), '0') + digits;
}

std::string Text(const std::string& head, const std::string& text, int width) {
    return head + '+' + std::string(width - text.size(), '0') + text;
}

std::int64_t Round(double value) {
    return static_cast<std::int64_t>(std::llround(value));
}

// An angle word in its units digit: gon, decimal degrees, DDDMMSSs, mil.
std::string Angle(const char* index, double radians, char units, int width) {
    const std::string head = std::string(index) + ".32" + units;
    const double degrees = radians * 180 / kPi;
    switch (units) {
    case '2':
        return Word(head, Round(degrees / 0.9 * 1e5), width);
    case '3':
        return Word(head, Round(degrees * 1e5), width);
    case '4': {
        const std::int64_t tenths = Round(degrees * 36000);
        return Word(head, tenths / 36000 * 100000 + tenths / 600 % 60 * 1000 + tenths % 600, width);
    }
    default:
        return Word(head, Round(degrees / 360 * 6400 * 1e4), width);
    }
}

// Millimetre words for coordinates and heights; finer ones for distances.
std::string Millimetres(const char* index, double metres, int width) {
    return Word(std::string(index) + "..00", Round(metres * 1000), width);
}

std::string Distance(const char* index, double metres, char units, int width) {
    return Word(std::string(index) + "..0" + units, Round(metres * (units == '6' ? 1e4 : 1e5)),
                width);
}

std::string Block(const std::vector<std::string>& words, int width) {
    std::string block = width == 16 ? "*" : "";
    for (const std::string& word : words) {
        block += word + " ";
    }
    return block + "\r\n";
}

} // namespace

ObservationJob MakeObservationJob(int width, unsigned seed) {
    std::mt19937 random(seed);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto mm = [&](double low, double high) {
        return std::round(uniform(low, high) * 1000) / 1000;
    };
    ObservationJob job;
    int block = 0;
    const auto head = [&](const char* index) {
        const std::string number = std::to_string(++block % 10000);
        return std::string(index) + std::string(4 - number.size(), '0') + number;
    };
    job.text = Block({Text("130000", "SITE", width)}, width);
    int shot = 0;
    for (int station = 0; station < 3; ++station) {
        const KnownPoint at{"STN" + std::to_string(station), mm(1000, 9000), mm(1000, 9000),
                            mm(100, 500), "station"};
        const double instrument = mm(1.2, 1.8);
        job.text += Block({Text(head("11"), at.name, width), Millimetres("84", at.east, width),
                           Millimetres("85", at.north, width), Millimetres("86", *at.height, width),
                           Millimetres("88", instrument, width)},
                          width);
        job.points.push_back(at);
        for (int k = 0; k < 8; ++k, ++shot) {
            const double bearing = uniform(0, 2 * kPi);
            const double horizontal = uniform(20, 250);
            const auto millimetre = [](double metres) { return std::round(metres * 1000) / 1000; };
            const KnownPoint target{"T" + std::to_string(shot),
                                    millimetre(at.east + horizontal * std::sin(bearing)),
                                    millimetre(at.north + horizontal * std::cos(bearing)),
                                    mm(*at.height - 20, *at.height + 20), "computed"};
            const double dE = target.east - at.east;
            const double dN = target.north - at.north;
            const double hd = std::hypot(dE, dN);
            const double reflector = mm(1.0, 2.5);
            const double dv = *target.height + reflector - (*at.height + instrument);
            double hz = std::atan2(dE, dN);
            hz += hz < 0 ? 2 * kPi : 0;
            const double zenith = std::atan2(hd, dv);
            const char angleUnits = "2345"[shot % 4];
            const char distanceUnits = "68"[shot % 2];
            std::vector<std::string> words = {Text(head("11"), target.name, width),
                                              Angle("21", hz, angleUnits, width),
                                              Angle("22", zenith, angleUnits, width)};
            switch (shot % 3) {
            case 0:
                words.push_back(Distance("31", std::hypot(hd, dv), distanceUnits, width));
                break;
            case 1:
                words.push_back(Distance("32", hd, distanceUnits, width));
                words.push_back(Distance("33", dv, '6', width));
                break;
            default:
                words.push_back(Distance("32", hd, distanceUnits, width));
                break;
            }
            words.push_back(Millimetres("87", reflector, width));
            job.text += Block(words, width);
            job.points.push_back(target);
        }
        const KnownPoint given{"G" + std::to_string(station), mm(1000, 9000), mm(1000, 9000),
                               mm(100, 500), "point"};
        job.text +=
            Block({Text(head("11"), given.name, width), Millimetres("81", given.east, width),
                   Millimetres("82", given.north, width), Millimetres("83", *given.height, width)},
                  width);
        job.points.push_back(given);
    }
    return job;
}

std::vector<KnownPoint> PointFilePoints(const std::string& text) {
    std::vector<KnownPoint> points;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, ',');) {
            fields.push_back(field);
        }
        if (fields.size() < 3) {
            continue;
        }
        KnownPoint point{fields[0], std::stod(fields[1]), std::stod(fields[2]), std::nullopt, ""};
        if (fields.size() > 3 && !fields[3].empty() && fields[3] != "\r") {
            point.height = std::stod(fields[3]);
        }
        points.push_back(point);
    }
    return points;
}
