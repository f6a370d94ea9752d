#include "catalogue/DeviceModel.h"

const DeviceModel::Map* DeviceModel::MapOf(EntryKind kind) const {
    switch (kind) {
    case EntryKind::Job:
        return &jobs_;
    case EntryKind::Code:
        return &codes_;
    case EntryKind::Hal:
        return &hals_;
    case EntryKind::Val:
        return &vals_;
    default:
        return nullptr;
    }
}

DeviceModel::Map* DeviceModel::MapOf(EntryKind kind) {
    return const_cast<Map*>(static_cast<const DeviceModel*>(this)->MapOf(kind));
}

bool DeviceModel::Store(EntryKind kind, std::u16string label, std::u16string line) {
    Map* map = MapOf(kind);
    if (map == nullptr) {
        return false;
    }
    (*map)[std::move(label)] = std::move(line);
    return true;
}

std::u16string DeviceModel::LineOf(std::u16string_view category, std::u16string_view label) const {
    const auto kind = CategoryOf(category);
    const Map* map = kind ? MapOf(*kind) : nullptr;
    if (map == nullptr) {
        return {};
    }
    const auto found = map->find(label);
    return found != map->end() ? found->second : std::u16string();
}
