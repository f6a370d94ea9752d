#include "codebook/FeatureCode.h"

std::vector<std::string> FeatureCode::Values() const {
    std::vector<std::string> values;
    values.reserve(attributes.size());
    for (const CodeAttribute& attribute : attributes) {
        values.push_back(attribute.value);
    }
    return values;
}
