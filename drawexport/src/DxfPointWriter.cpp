#include "drawexport/DxfPointWriter.h"

#include "codebook/CodeSymbol.h"
#include "drawexport/DxfHeaderTemplate.h"
#include "fielddata/FieldText.h"
#include "fielddata/WireText.h"

#include <cpl_vsi.h>
#include <ogr_feature.h>
#include <ogr_geometry.h>

#include <atomic>
#include <cstdio>
#include <set>

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

// A symbol spans the height of a label.
constexpr double kSymbolScale = 0.5;

// The pen of a code's colour; empty (the layer's) without one.
std::string PenStyle(const FeatureCode& code) {
    return CodebookStyle::Rgb(code.colour) ? "PEN(c:" + code.colour + ")" : std::string();
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
    if (!DxfHeaderTemplate::Write(headerPath_, extents, settings_.textHeight, BookLayers(),
                                  error_)) {
        return false;
    }
    if (!output_.Create("DXF", path, {"HEADER=" + headerPath_}) || !WriteBlocks() ||
        !output_.AddLayer("entities", nullptr, true, {})) {
        error_ = output_.Error();
        return false;
    }
    point_ = output_.NewPointFeature();
    label_ = output_.NewPointFeature();
    insert_ = output_.NewPointFeature();
    return true;
}

// The book's layers with the colours of their codes (the first code's when
// several share a layer), so that symbols and labels drawn by layer match.
std::vector<DxfHeaderTemplate::Layer> DxfPointWriter::BookLayers() const {
    std::vector<DxfHeaderTemplate::Layer> layers;
    if (!settings_.codebook) {
        return layers;
    }
    std::set<std::string> named;
    for (const FeatureCode& code : settings_.codebook->Book().codes) {
        const auto rgb = CodebookStyle::Rgb(code.colour);
        const auto wire = WireText::FromUtf8(code.LayerName());
        if (rgb && wire && named.insert(DxfLayerChoice::LayerName(*wire)).second) {
            layers.push_back({DxfLayerChoice::LayerName(*wire), *rgb});
        }
    }
    return layers;
}

// GDAL's DXF driver turns the features of a "blocks" layer, made before the
// entities, into block definitions; an entity with a BlockName becomes an
// INSERT of it.
bool DxfPointWriter::WriteBlocks() {
    if (!settings_.codebook) {
        return true;
    }
    const std::vector<std::string> symbols = settings_.codebook->Symbols();
    if (symbols.empty()) {
        return true;
    }
    if (!output_.AddLayer("blocks", nullptr, false, {})) {
        return false;
    }
    const double size = kSymbolScale * settings_.textHeight;
    for (const std::string& symbol : symbols) {
        for (const CodeSymbol::Stroke& stroke : CodeSymbol::Strokes(symbol)) {
            auto feature = output_.NewPointFeature();
            auto* line = new OGRLineString;
            for (const CodeSymbol::Point& p : stroke) {
                line->addPoint(p.x * size, p.y * size);
            }
            feature->SetGeometryDirectly(line);
            feature->SetField("Block", CodebookStyle::BlockName(symbol).c_str());
            if (!output_.Write(*feature)) {
                return false;
            }
        }
    }
    return true;
}

void DxfPointWriter::OnPoint(const SurveyPoint& point) {
    if (!error_.empty()) {
        return;
    }
    const std::string layer = layers_->LayerOf(point);
    const FeatureCode* code = settings_.codebook ? settings_.codebook->Of(point) : nullptr;
    style_ = code ? PenStyle(*code) : std::string();
    point_->SetField("Layer", layer.c_str());
    point_->SetStyleString(style_.empty() ? nullptr : style_.c_str());
    OgrOutput::MovePoint(*point_, point.east, point.north, point.height);
    if (!output_.Write(*point_)) {
        error_ = output_.Error();
        return;
    }
    if (code) {
        WriteStyled(point, *code, layer);
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

void DxfPointWriter::WriteStyled(const SurveyPoint& point, const FeatureCode& code,
                                 const std::string& layer) {
    if (!code.symbol.empty() && CodeSymbol::IsKnown(code.symbol)) {
        insert_->SetField("Layer", layer.c_str());
        insert_->SetField("BlockName", CodebookStyle::BlockName(code.symbol).c_str());
        insert_->SetStyleString(style_.empty() ? nullptr : style_.c_str());
        OgrOutput::MovePoint(*insert_, point.east, point.north, point.height);
        if (!output_.Write(*insert_)) {
            error_ = output_.Error();
            return;
        }
    }
    if (code.line) {
        Line& line = lines_[&code];
        line.layer = layer;
        line.style = style_;
        line.points.push_back({point.east, point.north, point.height.value_or(0)});
        line.flat = line.flat || !point.height;
    }
}

bool DxfPointWriter::WriteLines() {
    auto feature = output_.NewPointFeature();
    for (const auto& [code, line] : lines_) {
        if (line.points.size() < 2) {
            continue; // one point makes no line; it is drawn as a point all the same
        }
        auto* geometry = new OGRLineString;
        for (const auto& [x, y, z] : line.points) {
            if (line.flat) {
                geometry->addPoint(x, y);
            } else {
                geometry->addPoint(x, y, z);
            }
        }
        feature->SetGeometryDirectly(geometry);
        feature->SetField("Layer", line.layer.c_str());
        feature->SetStyleString(line.style.empty() ? nullptr : line.style.c_str());
        if (!output_.Write(*feature)) {
            return false;
        }
    }
    return true;
}

bool DxfPointWriter::Close() {
    if (!error_.empty()) {
        return false;
    }
    if (!WriteLines() || !output_.Close()) {
        error_ = output_.Error();
        return false;
    }
    return true;
}

const std::string& DxfPointWriter::Error() const {
    return error_;
}
