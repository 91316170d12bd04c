#include "platform/registry/registry_contents.h"

#include "gfxutil/ascii.h"
#include "platform/registry/reg_file_text.h"

namespace tetrakon {

std::string FoldRegName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = LowerAscii(c);
    }
    return folded;
}

namespace {

// Keys with fewer values have no index.
constexpr std::size_t kIndexedFrom = 16;

}  // namespace

std::optional<std::size_t> RegKeyEntry::Position(std::string_view name) const {
    if (index_.empty()) {
        for (std::size_t i = 0; i < values_.size(); ++i) {
            if (EqualsIgnoringCase(values_[i].name, name)) {
                return i;
            }
        }
        return std::nullopt;
    }
    const auto found = index_.find(FoldRegName(name));
    return found == index_.end() ? std::nullopt : std::optional(found->second);
}

const RegValue* RegKeyEntry::Find(std::string_view name) const {
    const std::optional<std::size_t> position = Position(name);
    return position ? &values_[*position].value : nullptr;
}

void RegKeyEntry::Set(std::string_view name, RegValue value) {
    if (const std::optional<std::size_t> position = Position(name)) {
        values_[*position].value = std::move(value);
        return;
    }
    values_.push_back(RegNamedValue{std::string(name), std::move(value)});
    if (values_.size() == kIndexedFrom) {
        Reindex();
    } else if (values_.size() > kIndexedFrom) {
        index_.emplace(FoldRegName(name), values_.size() - 1);
    }
}

void RegKeyEntry::Remove(std::string_view name) {
    if (const std::optional<std::size_t> position = Position(name)) {
        values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(*position));
        Reindex();
    }
}

void RegKeyEntry::Reindex() {
    index_.clear();
    for (std::size_t i = 0; values_.size() >= kIndexedFrom && i < values_.size(); ++i) {
        index_.emplace(FoldRegName(values_[i].name), i);
    }
}

const RegKeyEntry* RegistryContents::FindKey(std::string_view path) const {
    const auto found = index_.find(FoldRegName(path));
    return found == index_.end() ? nullptr : &keys_[found->second];
}

RegKeyEntry& RegistryContents::Key(std::string_view path) {
    const auto [position, inserted] = index_.try_emplace(FoldRegName(path), keys_.size());
    if (inserted) {
        keys_.emplace_back(std::string(path));
    }
    return keys_[position->second];
}

void RegistryContents::RemoveTree(std::string_view path) {
    std::erase_if(keys_, [path](const RegKeyEntry& key) { return InKeyTree(key.Path(), path); });
    index_.clear();
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        index_.emplace(FoldRegName(keys_[i].Path()), i);
    }
}

}  // namespace tetrakon
