#include "platform/registry/registry_contents.h"

#include "gfxutil/ascii.h"

namespace tetrakon {

std::string FoldRegName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = LowerAscii(c);
    }
    return folded;
}

const RegValue* RegKeyEntry::Find(std::string_view name) const {
    const auto found = index_.find(FoldRegName(name));
    return found == index_.end() ? nullptr : &values_[found->second].value;
}

void RegKeyEntry::Set(std::string_view name, RegValue value) {
    const auto [position, inserted] = index_.try_emplace(FoldRegName(name), values_.size());
    if (inserted) {
        values_.push_back(RegNamedValue{std::string(name), std::move(value)});
    } else {
        values_[position->second].value = std::move(value);
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

}  // namespace tetrakon
