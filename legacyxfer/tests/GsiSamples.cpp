#include "GsiSamples.h"

#include <cstdio>
#include <fstream>

namespace GsiSamples {

std::string Block(int number) {
    const std::string name = "P" + std::to_string(number);
    char line[160];
    std::snprintf(line, sizeof line,
                  "*11%04d+%s%s 81..00+%016lld 82..00+%016lld 83..00+%016lld \r\n", number % 10000,
                  std::string(16 - name.size(), '0').c_str(), name.c_str(),
                  1000000LL + number * 1234LL, 5000000LL + number * 4321LL, 100000LL + number);
    return line;
}

std::string Job(int count, int without) {
    std::string job;
    for (int i = 1; i <= count; ++i) {
        if (i != without) {
            job += Block(i);
        }
    }
    return job;
}

std::string WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace GsiSamples
