#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

// How many points carry each name, kept up to date as names come and go,
// so the table can mark names used more than once.
class DuplicateNames {
public:
    void Add(const std::string& name) { ++counts_[name]; }
    void Remove(const std::string& name);
    void Clear() { counts_.clear(); }
    void Reserve(std::size_t names) { counts_.reserve(names); }
    std::size_t Count(const std::string& name) const;

private:
    std::unordered_map<std::string, std::size_t> counts_;
};
