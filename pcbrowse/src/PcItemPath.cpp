#include "pcbrowse/PcItemPath.h"

#include <cstddef>
#include <utility>

namespace {

bool IsRoot(PathNode::Kind kind) {
    return kind == PathNode::Kind::Volume || kind == PathNode::Kind::Desktop;
}

// The chain's names from its root down to (and including) the first node,
// joined with "/"; the root contributes its own path. Empty when the chain
// does not end in a volume or the desktop.
std::string JoinFromRoot(std::span<const PathNode> chain) {
    std::size_t root = 0;
    while (root < chain.size() && !IsRoot(chain[root].kind)) {
        ++root;
    }
    if (root == chain.size()) {
        return {};
    }
    std::string path = chain[root].name;
    for (std::size_t i = root; i-- > 0;) {
        path = PcItemPath::WithFinalSlash(std::move(path)) + chain[i].name;
    }
    return path;
}

} // namespace

std::string PcItemPath::ItemFolderPath(std::span<const PathNode> chain) {
    // A file or a placeholder stands for the folder that holds it.
    while (!chain.empty() && (chain.front().kind == PathNode::Kind::File ||
                              chain.front().kind == PathNode::Kind::Placeholder)) {
        chain = chain.subspan(1);
    }
    const std::string path = JoinFromRoot(chain);
    return path.empty() ? path : WithFinalSlash(path);
}

std::string PcItemPath::ItemFullPath(std::span<const PathNode> chain) {
    if (chain.empty()) {
        return {};
    }
    if (chain.front().kind == PathNode::Kind::Computer) {
        return chain.front().name;
    }
    if (chain.front().kind == PathNode::Kind::Placeholder) {
        return ItemFolderPath(chain);
    }
    return JoinFromRoot(chain);
}

std::string PcItemPath::WithFinalSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}
