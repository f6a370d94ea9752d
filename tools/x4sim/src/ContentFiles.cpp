#include "ContentFiles.h"

#include "DemoFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

ContentFiles ContentFiles::FromDirectory(std::filesystem::path dir) {
    ContentFiles files;
    files.dir_ = std::move(dir);
    return files;
}

ContentFiles ContentFiles::BuiltIn() {
    return {};
}

std::optional<std::string> ContentFiles::Read(const std::string& relative) const {
    if (!dir_) {
        const auto demo = DemoFiles();
        const auto found = std::find_if(demo.begin(), demo.end(), [&](const EmbeddedFile& file) {
            return file.path == relative;
        });
        return found != demo.end() ? std::optional<std::string>(found->bytes) : std::nullopt;
    }
    std::ifstream in(*dir_ / relative, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ContentFiles::Origin() const {
    return dir_ ? dir_->string() : std::string("built-in demo content");
}
