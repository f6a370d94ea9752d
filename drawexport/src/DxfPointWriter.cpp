#include "drawexport/DxfPointWriter.h"

#include "drawexport/DxfHeaderTemplate.h"
#include "fielddata/FieldText.h"

#include <cpl_vsi.h>
#include <ogr_feature.h>

#include <atomic>
#include <cstdio>

namespace {

// Labels start half a text height right of the point; the name sits above
// the height line, the code below it.
constexpr double kLabelGap = 0.5;
constexpr double kLineStep = 0.7;

// OGR's label anchors: bottom left, middle left, top left.
constexpr int kAnchorBottomLeft = 1;
constexpr int kAnchorMiddleLeft = 4;
constexpr int kAnchorTopLeft = 7;

std::string UniqueHeaderPath() {
    static std::atomic<unsigned> serial{0};
    return "/vsimem/drawexport-header-" + std::to_string(++serial) + ".dxf";
}

// A style string's text is quoted; quotes and backslashes inside are escaped.
void AppendQuoted(std::string_view text, std::string& out) {
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

} // namespace

DxfPointWriter::DxfPointWriter(const ExportSettings& settings,
                               std::unique_ptr<const DxfLayerChoice> layers)
    : settings_(settings), layers_(std::move(layers)) {}

DxfPointWriter::~DxfPointWriter() {
    if (!headerPath_.empty()) {
        VSIUnlink(headerPath_.c_str());
    }
}

bool DxfPointWriter::Open(const std::string& path, const PointExtents& extents) {
    headerPath_ = UniqueHeaderPath();
    if (!DxfHeaderTemplate::Write(headerPath_, extents, settings_.textHeight, error_)) {
        return false;
    }
    if (!output_.Create("DXF", path, {"HEADER=" + headerPath_}) ||
        !output_.AddLayer("entities", nullptr, true, {})) {
        error_ = output_.Error();
        return false;
    }
    point_ = output_.NewPointFeature();
    label_ = output_.NewPointFeature();
    return true;
}

void DxfPointWriter::OnPoint(const SurveyPoint& point) {
    if (!error_.empty()) {
        return;
    }
    point_->SetField("Layer", layers_->LayerOf(point).c_str());
    OgrOutput::MovePoint(*point_, point.east, point.north, point.height);
    if (!output_.Write(*point_)) {
        error_ = output_.Error();
        return;
    }
    WriteLabel(Label::Name, FieldText::ToUtf8(point.name), point);
    if (point.height) {
        WriteLabel(Label::Height, HeightText(*point.height), point);
    }
    WriteLabel(Label::Code, FieldText::ToUtf8(point.code), point);
}

std::string DxfPointWriter::HeightText(double height) const {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", settings_.decimals, height);
    return text;
}

void DxfPointWriter::WriteLabel(Label label, std::string_view utf8, const SurveyPoint& point) {
    if (utf8.empty() || !error_.empty()) {
        return;
    }
    const double h = settings_.textHeight;
    struct Place {
        const char* layer;
        int anchor;
        double dy;
    };
    const Place places[] = {{kNameLayer, kAnchorBottomLeft, kLineStep * h},
                            {kHeightLayer, kAnchorMiddleLeft, 0},
                            {kCodeLayer, kAnchorTopLeft, -kLineStep * h}};
    const Place& place = places[static_cast<int>(label)];
    style_ = "LABEL(t:";
    AppendQuoted(utf8, style_);
    char rest[96];
    std::snprintf(rest, sizeof rest, ",s:%.15gg,p:%d)", h, place.anchor);
    style_ += rest;
    label_->SetField("Layer", place.layer);
    label_->SetStyleString(style_.c_str());
    OgrOutput::MovePoint(*label_, point.east + kLabelGap * h, point.north + place.dy, point.height);
    if (!output_.Write(*label_)) {
        error_ = output_.Error();
    }
}

bool DxfPointWriter::Close() {
    if (!error_.empty()) {
        return false;
    }
    if (!output_.Close()) {
        error_ = output_.Error();
        return false;
    }
    return true;
}

const std::string& DxfPointWriter::Error() const {
    return error_;
}
