#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry/registry_types.h"

namespace tetrakon {

struct RegNamedValue {
    std::string name;  // empty for the key's default value
    RegValue value;

    bool operator==(const RegNamedValue&) const = default;
};

// One key and its values in the order they were first set. Names are matched without
// regard to the case of ASCII letters, as the platform's registry does.
class RegKeyEntry {
  public:
    explicit RegKeyEntry(std::string path = {}) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    const std::vector<RegNamedValue>& Values() const { return values_; }

    const RegValue* Find(std::string_view name) const;
    // Replaces a value of the same name in place, or appends a new one.
    void Set(std::string_view name, RegValue value);
    // Removes the value of that name, if there is one.
    void Remove(std::string_view name);

    // The same path and the same values in the same order.
    bool operator==(const RegKeyEntry& other) const {
        return path_ == other.path_ && values_ == other.values_;
    }

  private:
    // The position of the value of that name, if there is one.
    std::optional<std::size_t> Position(std::string_view name) const;
    void Reindex();

    std::string path_;
    std::vector<RegNamedValue> values_;
    // Folded name -> position, kept only for keys of many values: the few of most keys
    // are searched in order, at no memory cost per key.
    std::unordered_map<std::string, std::size_t> index_;
};

// Every key of one registry file, in file order.
class RegistryContents {
  public:
    const std::vector<RegKeyEntry>& Keys() const { return keys_; }

    const RegKeyEntry* FindKey(std::string_view path) const;
    // The key of that path, appended empty when missing.
    RegKeyEntry& Key(std::string_view path);
    // Removes the key of that path and every key below it.
    void RemoveTree(std::string_view path);

    bool operator==(const RegistryContents& other) const { return keys_ == other.keys_; }

  private:
    std::vector<RegKeyEntry> keys_;
    std::unordered_map<std::string, std::size_t> index_;
};

// The case-folded form under which names and paths are looked up.
std::string FoldRegName(std::string_view name);

}  // namespace tetrakon
