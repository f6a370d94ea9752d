#include "ReceivedStore.h"

#include <iostream>

ReceivedStore::ReceivedStore(std::filesystem::path dir) : dir_(std::move(dir)) {}

void ReceivedStore::UploadStarted(const std::string& category) {
    const auto path = dir_ / (std::to_string(++count_) + "-" + category + ".txt");
    file_.close();
    file_.clear();
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_) {
        std::cerr << "x4sim: cannot write " << path.string() << "\n";
    }
}

void ReceivedStore::UploadLine(const std::string& bytes) {
    if (file_.is_open()) {
        file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file_.flush();
    }
}

void ReceivedStore::UploadEnded(bool /*completed*/) {
    file_.close();
}
