// settings_writer CONFIG_DIR [COUNT]
//   Opens Software\Tetrakon in the registry under CONFIG_DIR, sets the nine values the game
//   writes at close and closes the key, COUNT times (for ever without COUNT). Round n
//   writes values that all derive from n, with a path whose length changes with n.
// settings_writer --check CONFIG_DIR
//   Exits 0 when the registry file is missing, or parses and holds either none or all
//   nine values, all from the same round, with no corrupt copy set aside; 1 otherwise.

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "gfxutil/little_endian.h"
#include "platform/registry/reg_file_format.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_store.h"

namespace tetrakon {
namespace {

constexpr const char* kKey = "Software\\Tetrakon";
constexpr const char* kKeyPath = "HKEY_CURRENT_USER\\Software\\Tetrakon";
constexpr const char* kNumberNames[] = {
    "ShowCmd",           "Left", "Top", "Right", "Bottom", "Picture", "FastRandomRotate",
    "NumberRandomRotate"};

std::string PathOfRound(std::uint32_t round) {
    return "C:\\pictures\\" + std::string(round % 200, 'p') + std::to_string(round) + ".jpg";
}

bool WriteRound(const RegistryStore& store, std::uint32_t round) {
    std::unique_ptr<RegistryKey> key;
    if (store.CreateKey(RegRoot::CurrentUser, kKey, &key) != ERROR_SUCCESS)
        return false;
    std::uint32_t offset = 0;
    for (const char* name : kNumberNames) {
        // Little-endian, as the game stores a DWORD, so the file is the same on every machine.
        std::uint8_t bytes[4];
        StoreLe32(round + offset++, bytes);
        key->SetValue(name, REG_DWORD, bytes, sizeof bytes);
    }
    const std::string path = PathOfRound(round);
    key->SetValue("PathImage", REG_SZ, reinterpret_cast<const std::uint8_t*>(path.c_str()),
                  static_cast<std::uint32_t>(path.size() + 1));
    return key->Close() == ERROR_SUCCESS;
}

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

// Empty when the file is whole, else what is wrong with it.
std::string CheckFile(const RegistryFiles& files) {
    if (Exists(files.bad))
        return "a corrupt copy was set aside as " + files.bad;
    std::ifstream in(files.file, std::ios::binary);
    if (!in)
        return {};  // nothing written yet
    std::ostringstream read;
    read << in.rdbuf();
    const std::string text = read.str();
    RegistryContents contents;
    if (!ParseRegFile(text, &contents))
        return "the file does not parse";
    const RegKeyEntry* key = contents.FindKey(kKeyPath);
    if (key == nullptr)
        return text.empty() ? "the file is empty" : "the key is missing";
    const RegValue* first = key->Find(kNumberNames[0]);
    if (first == nullptr || first->type != REG_DWORD || first->data.size() != 4)
        return "ShowCmd is missing or not a DWORD";
    // The numbers as the file's text writes them: the values stored little-endian.
    const std::uint32_t round = LoadLe32(first->data.data());
    std::uint32_t offset = 0;
    for (const char* name : kNumberNames) {
        const RegValue* value = key->Find(name);
        if (value == nullptr || value->type != REG_DWORD || value->data.size() != 4 ||
            LoadLe32(value->data.data()) != round + offset++) {
            return std::string(name) + " is not from round " + std::to_string(round);
        }
    }
    const std::string path = PathOfRound(round);
    const RegValue* image = key->Find("PathImage");
    if (image == nullptr || image->type != REG_SZ ||
        std::string(image->data.begin(), image->data.end()) !=
            std::string(path.c_str(), path.size() + 1)) {
        return "PathImage is not from round " + std::to_string(round);
    }
    return {};
}

}  // namespace
}  // namespace tetrakon

int main(int argc, char** argv) {
    using namespace tetrakon;
    if (argc == 3 && std::strcmp(argv[1], "--check") == 0) {
        const RegistryStore store(argv[2]);
        const std::string& file = store.FilePath();
        const std::string problem =
            CheckFile(RegistryFiles(file.substr(0, file.find_last_of('/'))));
        if (!problem.empty()) {
            std::cerr << "settings_writer: " << store.FilePath() << ": " << problem << '\n';
            return 1;
        }
        return 0;
    }
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: settings_writer CONFIG_DIR [COUNT] | --check CONFIG_DIR\n";
        return 2;
    }
    const RegistryStore store(argv[1]);
    std::uint32_t count = 0;
    if (argc == 3)
        std::istringstream(argv[2]) >> count;
    // Each run starts at a round of its own, so that every run changes the values.
    std::uint32_t round = std::random_device{}() % 1000000;
    for (std::uint32_t done = 0; argc == 2 || done < count; ++done) {
        if (!WriteRound(store, round++)) {
            std::cerr << "settings_writer: writing " << store.FilePath() << " failed\n";
            return 1;
        }
    }
    return 0;
}
