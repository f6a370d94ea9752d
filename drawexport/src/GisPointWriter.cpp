#include "drawexport/GisPointWriter.h"

#include "drawexport/CodebookStyle.h"
#include "drawexport/GdalSession.h"
#include "fielddata/FieldText.h"

#include <ogr_feature.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

std::vector<std::string> LayerOptions(const ExportFormat& format, const PointExtents& extents) {
    if (format.name == "csv") {
        return {"GEOMETRY=AS_XYZ"};
    }
    if (format.name == "geojson") {
        // Coordinates as precise as the input, not padded with binary noise.
        return {"COORDINATE_PRECISION=" + std::to_string(std::max(extents.Places(), 1))};
    }
    if (format.name == "shp") {
        return {"ENCODING=UTF-8"};
    }
    return {};
}

const char* const kStyleFields[] = {"layer", "colour", "symbol"};

} // namespace

const char* GisPointWriter::KindOf(SurveyPoint::Origin origin) {
    switch (origin) {
    case SurveyPoint::Origin::Reduced:
    case SurveyPoint::Origin::ReducedFromZero:
        return kComputed;
    case SurveyPoint::Origin::Station:
        return kStation;
    case SurveyPoint::Origin::Given:
        break;
    }
    return kGiven;
}

GisPointWriter::GisPointWriter(const ExportSettings& settings) : settings_(settings) {}

GisPointWriter::~GisPointWriter() = default;

bool GisPointWriter::Fail() {
    error_ = output_.Error();
    return false;
}

bool GisPointWriter::Open(const std::string& path, const PointExtents& extents) {
    const auto srs = settings_.epsg != 0 ? GdalSession::Srs(settings_.epsg) : nullptr;
    const std::string layer = std::filesystem::path(path).stem().string();
    if (!output_.Create(std::string(settings_.format->driver), path, {}) ||
        !output_.AddLayer(layer, srs.get(), extents.HasHeights(),
                          LayerOptions(*settings_.format, extents)) ||
        !output_.AddTextField("name") || !output_.AddTextField("code") ||
        !output_.AddRealField("height") || !output_.AddTextField("kind")) {
        return Fail();
    }
    for (const char* name : kStyleFields) {
        if (settings_.codebook && !output_.AddTextField(name)) {
            return Fail();
        }
    }
    feature_ = output_.NewPointFeature();
    // Drivers may order their fields as they like.
    nameField_ = feature_->GetFieldIndex("name");
    codeField_ = feature_->GetFieldIndex("code");
    heightField_ = feature_->GetFieldIndex("height");
    kindField_ = feature_->GetFieldIndex("kind");
    for (std::size_t i = 0; settings_.codebook && i < std::size(kStyleFields); ++i) {
        styleFields_[i] = feature_->GetFieldIndex(kStyleFields[i]);
    }
    output_.BeginBatch();
    return true;
}

void GisPointWriter::OnPoint(const SurveyPoint& point) {
    if (!error_.empty()) {
        return;
    }
    feature_->SetField(nameField_, FieldText::ToUtf8(point.name).c_str());
    feature_->SetField(codeField_, FieldText::ToUtf8(point.code).c_str());
    if (point.height) {
        feature_->SetField(heightField_, *point.height);
    } else {
        feature_->SetFieldNull(heightField_);
    }
    feature_->SetField(kindField_, KindOf(point.origin));
    if (settings_.codebook) {
        SetStyle(point);
    }
    OgrOutput::MovePoint(*feature_, point.east, point.north, point.height);
    if (!output_.Write(*feature_)) {
        Fail();
        return;
    }
    if (++inBatch_ == kBatchPoints) {
        inBatch_ = 0;
        if (!output_.EndBatch()) {
            Fail();
            return;
        }
        output_.BeginBatch();
    }
}

void GisPointWriter::SetStyle(const SurveyPoint& point) {
    const FeatureCode* code = settings_.codebook->Of(point);
    const std::string* values[] = {code ? &code->LayerName() : nullptr,
                                   code ? &code->colour : nullptr, code ? &code->symbol : nullptr};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        if (values[i] != nullptr && !values[i]->empty()) {
            feature_->SetField(styleFields_[i], values[i]->c_str());
        } else {
            feature_->SetFieldNull(styleFields_[i]);
        }
    }
}

bool GisPointWriter::Close() {
    return error_.empty() && (output_.Close() || Fail());
}

const std::string& GisPointWriter::Error() const {
    return error_;
}
