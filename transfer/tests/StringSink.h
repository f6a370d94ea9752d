#pragma once

#include "transfer/ByteSink.h"

#include <string>
#include <vector>

// Collects what a writer writes, piece by piece.
class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override {
        text.append(bytes);
        ++pieces;
    }

    std::string text;
    int pieces = 0;
};
