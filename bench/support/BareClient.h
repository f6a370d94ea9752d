#pragma once

#include "ReplayScript.h"
#include "SimClient.h"
#include "SimProcess.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

// The PC's side of a traffic log played to a fresh x4sim by a client that
// does nothing else: one thread writes each line and blocks until its
// answer is in. Its share of the wire limit is what this machine, its
// pseudo-terminals and x4sim allow any program, so a benchmark measures it
// in the same run as the program and gives both.
class BareClient {
public:
    // Prints the client's share and the program's share of it; false when
    // the log cannot be read or x4sim answered otherwise than in it.
    static bool Compare(const std::string& what, const std::string& logFile,
                        const std::vector<std::string>& simOptions, long baud,
                        double programShare) {
        std::string why;
        const auto script = ReplayScript::Load(logFile, why);
        if (!script) {
            std::fprintf(stderr, "cannot read the log: %s\n", why.c_str());
            return false;
        }
        SimProcess sim(simOptions);
        SimClient client(sim.Device());
        long bytes = 0;
        bool same = client.IsOpen();
        const auto start = std::chrono::steady_clock::now();
        for (const auto& exchange : script->Exchanges()) {
            if (!same) {
                break;
            }
            client.Send(exchange.sent);
            std::string answer;
            while (same && answer.size() < exchange.answer.size()) {
                const std::string line = client.ReadLine();
                same = !line.empty();
                answer += line;
            }
            same = same && answer == exchange.answer;
            bytes += static_cast<long>(exchange.sent.size() + answer.size());
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double share =
            static_cast<double>(bytes) * 10.0 / static_cast<double>(baud) / seconds;
        std::printf("bare client replaying the logged %s: %zu exchanges, %ld bytes both ways in "
                    "%.2f s; share of the wire limit %.3f; this program reached %.3f of it\n",
                    what.c_str(), script->Exchanges().size(), bytes, seconds, share,
                    programShare / share);
        if (!same) {
            std::fprintf(stderr, "x4sim answered the replay otherwise than in the log\n");
        }
        return same;
    }
};

} // namespace bench
