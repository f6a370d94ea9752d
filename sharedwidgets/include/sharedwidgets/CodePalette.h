#pragma once

#include <QColor>

#include <string>
#include <unordered_map>
#include <vector>

// A colour per point code, in the order the codes first appear; points
// without code are grey. Colours repeat after a dozen codes.
class CodePalette {
public:
    void Clear();
    // The code's index, given on its first appearance.
    int IndexOf(const std::string& code);
    QColor Colour(int index) const;
    // Index order.
    const std::vector<std::string>& Codes() const { return codes_; }

private:
    std::vector<std::string> codes_;
    std::unordered_map<std::string, int> indices_;
};
