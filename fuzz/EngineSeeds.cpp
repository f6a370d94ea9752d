// Writes the seed corpus of the engine target: the conversations x4sim's
// demo instrument has with the engine, for every operation, as the
// instrument answers them whole, in small pieces, and with warnings.
//
//     fuzz_engine_seeds DIR
#include "EngineHarness.h"
#include "EngineInput.h"
#include "Instrument.h"
#include "InstrumentContent.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

enum class Delivery { Whole, Pieces, Warnings };

constexpr int kUploadLines = 3;
constexpr std::size_t kPieceSize = 5;
constexpr int kWarnEvery = 4;
constexpr int kMaxRounds = 500;

void Deliver(EngineHarness& harness, const std::string& reply, Delivery delivery,
             std::vector<std::string>& chunks) {
    const std::size_t piece = delivery == Delivery::Pieces ? kPieceSize : reply.size();
    for (std::size_t at = 0; at < reply.size(); at += piece) {
        chunks.push_back(reply.substr(at, piece));
        harness.Feed(chunks.back());
    }
}

std::vector<std::string> Converse(int operation, Delivery delivery) {
    InstrumentContent content(ContentFiles::BuiltIn());
    std::string error;
    if (!content.Load(error)) {
        std::fprintf(stderr, "demo content: %s\n", error.c_str());
        std::exit(1);
    }
    Instrument instrument(content);
    EngineHarness harness;
    harness.Start(operation, kUploadLines);
    std::vector<std::string> chunks;
    int commands = 0;
    for (int round = 0; round < kMaxRounds && !harness.Ended(); ++round) {
        const std::vector<std::string> sent = harness.TakeSent();
        if (sent.empty()) {
            break;
        }
        for (const std::string& message : sent) {
            const bool warn = delivery == Delivery::Warnings && ++commands % kWarnEvery == 0;
            Deliver(harness, warn ? "@W127\r\n" : instrument.Handle(message).bytes, delivery,
                    chunks);
        }
    }
    return chunks;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_engine_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const char* names[] = {"whole", "pieces", "warnings"};
    for (int operation = 0; operation < EngineHarness::kOperations; ++operation) {
        for (Delivery delivery : {Delivery::Whole, Delivery::Pieces, Delivery::Warnings}) {
            const std::string seed =
                EngineInput::Serialize(operation, kUploadLines, Converse(operation, delivery));
            const auto name =
                "op" + std::to_string(operation) + "-" + names[static_cast<int>(delivery)];
            std::ofstream(dir / name, std::ios::binary) << seed;
        }
    }
    return 0;
}
