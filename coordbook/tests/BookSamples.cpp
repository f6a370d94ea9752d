#include "BookSamples.h"

#include "coordbook/BookLoader.h"
#include "fielddata/DatFileWriter.h"
#include "fielddata/GsiJobWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {

std::vector<SurveyPoint> Points() {
    std::vector<SurveyPoint> points;
    for (int i = 0; i < 12; ++i) {
        SurveyPoint point;
        point.name = (i % 5 == 0 ? "STN" : "P") + std::to_string(i + 1);
        point.code = i < 2 ? "" : i < 7 ? "TREE" : "KERB";
        point.places = 3 + i % 3;
        point.east = 512.25 + i * 3.125;
        point.north = -48.5 - i * 1.0625;
        if (i % 4 != 3) {
            point.height = 97.0 + i * 0.01;
        }
        points.push_back(point);
    }
    return points;
}

} // namespace

void PrintTo(const PointValues& values, std::ostream* out) {
    std::string text = values.name + " " + values.code + " ";
    values.at.east.AppendTo(text);
    text += " ";
    values.at.north.AppendTo(text);
    text += " ";
    if (values.at.height) {
        values.at.height->AppendTo(text);
    }
    *out << text;
}

std::unique_ptr<PointBook> BookSamples::Load(const std::string& name,
                                             const std::string& bytes) const {
    folder_.WriteFile(name, bytes);
    auto loaded = BookLoader::Load(folder_.Path(name));
    EXPECT_TRUE(loaded.book) << name << ": " << (loaded.error ? loaded.error->Text() : "");
    return std::move(loaded.book);
}

BookOutput BookSamples::Write(const PointBook& book, BookFormat format) {
    return BookWriter(format, "job", "14052024").Write(book);
}

std::string BookSamples::DemoJob() {
    std::ifstream in(X4SIM_DEMO_DIR "/data/JOB/3/COORDS.GSI", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string BookSamples::GsiJob(GsiWidth width) {
    GsiJobWriter writer(width);
    std::string job;
    for (const SurveyPoint& point : Points()) {
        writer.AppendPoint(point, job);
    }
    return job;
}

std::string BookSamples::PointFile() {
    std::string file;
    for (const SurveyPoint& point : Points()) {
        DatFileWriter::AppendLine(point, file);
    }
    return file;
}
