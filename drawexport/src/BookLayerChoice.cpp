#include "drawexport/BookLayerChoice.h"

#include "fielddata/WireText.h"

BookLayerChoice::BookLayerChoice(std::shared_ptr<const CodebookStyle> style)
    : style_(std::move(style)) {}

std::string BookLayerChoice::LayerOf(const SurveyPoint& point) const {
    const FeatureCode* code = style_->Of(point);
    if (code == nullptr) {
        return DxfLayerChoice::LayerOf(point);
    }
    // Layer names are made from the wire code page's bytes, like codes.
    const auto wire = WireText::FromUtf8(code->LayerName());
    return wire ? LayerName(*wire) : DxfLayerChoice::LayerOf(point);
}
