#pragma once

#include <string>

#include "platform/registry/registry_contents.h"

namespace tetrakon {

// Where one registry lives: `directory`/registry.reg, its lock file and the place a
// corrupt copy is kept.
struct RegistryFiles {
    explicit RegistryFiles(const std::string& directory);

    std::string directory;
    std::string file;  // registry.reg
    std::string lock;  // registry.reg.lock
    std::string bad;   // registry.reg.bad
};

// The file's contents; empty when it is missing, unreadable or corrupt.
RegistryContents LoadRegistryFile(const RegistryFiles& files);

// Under the lock: reads the file again, sets the values of `changes` in its key (created
// when missing) and writes the file back atomically, keeping every other key and value.
// A corrupt or unreadable file is first kept as registry.reg.bad and then replaced by a
// clean one; when it cannot be kept, nothing is written. False when nothing was written.
bool MergeIntoRegistryFile(const RegistryFiles& files, const RegKeyEntry& changes);

}  // namespace tetrakon
