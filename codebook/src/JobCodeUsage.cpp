#include "codebook/JobCodeUsage.h"

#include "fielddata/FieldFile.h"
#include "fielddata/FieldText.h"

#include <unordered_set>

std::string JobCodeUsage::Add(const std::string& path) {
    const auto error = FieldFile::Read(path, *this);
    return error ? path + ": " + error->Text() : std::string();
}

void JobCodeUsage::OnPoint(const SurveyPoint& point) {
    if (!point.code.empty()) {
        ++counts_[FieldText::ToUtf8(point.code)];
    }
}

void JobCodeUsage::OnSkipped(const SkippedBlock&) {
    ++skipped_;
}

std::vector<JobCodeUsage::Entry> JobCodeUsage::Against(const CodeBook& book) const {
    std::unordered_set<std::string_view> known;
    for (const FeatureCode& code : book.codes) {
        known.insert(code.code);
    }
    std::vector<Entry> entries;
    for (const auto& [code, points] : counts_) {
        entries.push_back({code, points, known.contains(code)});
    }
    return entries;
}
