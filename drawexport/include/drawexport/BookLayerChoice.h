#pragma once

#include "drawexport/CodebookStyle.h"
#include "drawexport/DxfLayerChoice.h"

#include <memory>

// Layers from a codebook: a code's points on the book's layer for it
// (the code itself when the book names none); points of codes the book
// lacks and station set-ups as without a book.
class BookLayerChoice final : public DxfLayerChoice {
public:
    explicit BookLayerChoice(std::shared_ptr<const CodebookStyle> style);
    std::string LayerOf(const SurveyPoint& point) const override;

private:
    std::shared_ptr<const CodebookStyle> style_;
};
