#pragma once

#include "codebook/CodeBook.h"
#include "drawexport/ExportInput.h"
#include "fielddata/SurveyPoint.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// How a codebook draws points: each code's layer, colour, symbol and
// whether its points make a line. Codes the book lacks are drawn as
// without a book.
class CodebookStyle {
public:
    explicit CodebookStyle(CodeBook book);
    // The book in the file; nullopt, with the reason, when it cannot be
    // read. Lines passed over are named in warnings.
    static std::optional<CodebookStyle> Load(const std::string& path, std::string& error,
                                             std::vector<std::string>& warnings);

    // The book's entry for a point's code (the file's bytes); nullptr when
    // the book lacks it. The first of codes given twice counts.
    const FeatureCode* Find(std::string_view wireCode) const;
    // A station set-up is drawn as it is without a book.
    const FeatureCode* Of(const SurveyPoint& point) const;
    const CodeBook& Book() const { return book_; }
    // "codes not in the codebook, drawn by code: PIT (3 points), ..." for
    // the codes of the inputs' points the book lacks; empty when it has all.
    std::string MissingCodes(const std::vector<const ExportInput*>& inputs) const;
    // The symbols the book's codes use, each once, in book order.
    std::vector<std::string> Symbols() const;

    // The drawing's block for a symbol.
    static std::string BlockName(std::string_view symbol);
    // "#rrggbb" as red, green and blue; nullopt for anything else.
    static std::optional<unsigned> Rgb(std::string_view colour);

private:
    CodeBook book_;
    std::unordered_map<std::string, std::size_t> index_;
};
