#pragma once

#include "codebook/CodeBook.h"
#include "fielddata/PointSink.h"

#include <map>
#include <string>
#include <vector>

// Which codes the points of field jobs carry, and how often, against a
// book: the codes a book still lacks before the jobs are drawn.
class JobCodeUsage : public PointSink {
public:
    struct Entry {
        std::string code; // UTF-8
        std::size_t points = 0;
        bool inBook = false;
    };

    // Reads one GSI job or point file; the reader's complaint, naming the
    // file, or empty. Skipped lines do not stop the count.
    std::string Add(const std::string& path);
    // Every code seen, in code order; points without a code are left out.
    std::vector<Entry> Against(const CodeBook& book) const;
    std::size_t SkippedLines() const { return skipped_; }

    void OnPoint(const SurveyPoint& point) override;
    void OnSkipped(const SkippedBlock& block) override;

private:
    std::map<std::string, std::size_t> counts_;
    std::size_t skipped_ = 0;
};
