#pragma once

// The linked GLSL program kept between runs: compiling it makes the driver load its
// shader compiler, which costs memory for the life of the context and time at every
// start; a driver takes back a program it saved itself without compiling anything.
// Plain data and files: no Qt, no OpenGL.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "gfxutil/file_io.h"

namespace tetrakon::gfx {

// What a driver must match to take a saved program back. Any difference (another
// driver, a driver update, changed shaders) gives another key.
struct ProgramCacheIdentity {
    std::string vendor;
    std::string renderer;
    std::string version;
    std::string shadingLanguageVersion;
    std::string_view vertexShader;
    std::string_view fragmentShader;
};

// The exact text a cache record is valid for: every field whole, each preceded by its
// length, so that no two identities give the same key.
std::string ProgramCacheKey(const ProgramCacheIdentity& identity);

// One saved program: the driver's binary format, its bytes, and the key they belong to.
struct ProgramRecord {
    std::uint32_t format = 0;
    std::string key;
    std::string binary;
};

// The file form: magic, record version, format, key and binary lengths (little-endian
// 32-bit), key, binary, and a CRC-32 of key and binary.
std::string EncodeProgramRecord(const ProgramRecord& record);

// The record the bytes hold, or none when they are not exactly one whole, intact record
// of this version. Takes the bytes over, so that the binary is not copied.
std::optional<ProgramRecord> DecodeProgramRecord(std::string bytes);

// The file `gl-program.bin` in the folder `Tetrakon` of a cache directory. It is only an
// optimisation: every failure to read or write it is silent and means "not cached".
class ProgramBinaryStore {
  public:
    static constexpr std::size_t kMaxFileSize = 16u << 20;

    // An empty directory gives a store that never holds anything.
    explicit ProgramBinaryStore(const std::string& cacheDirectory);

    // $XDG_CACHE_HOME when it is an absolute path, else ~/.cache; empty without a home.
    static std::string DefaultCacheDirectory();

    // The saved program for `key`, or none when the file is missing, unreadable, not a
    // regular file, too large, damaged or made for another key.
    std::optional<ProgramRecord> Load(std::string_view key) const;

    // Replaces the file by the record, atomically and under a lock next to it; does
    // nothing while another writer holds that lock.
    void Store(const ProgramRecord& record) const;

    const std::string& FilePath() const { return file_; }

  private:
    std::string directory_;
    std::string file_;
};

// A hand-over of the saved program to the driver, marked on disk for as long as this
// object lives (`gl-program.bin.loading`, locked by the process handing over): from the
// read of the file until the driver has drawn with the program. A file whose checksums
// are right can still crash the driver, or make it grow until the process is killed; the
// mark that process leaves behind, unlocked, makes the next start remove the saved program
// and compile, so a damaged file costs one start instead of every start. While another
// copy of the program holds the mark, nothing is offered: its mark is not a crash's, and
// that copy's saved program stays.
class GuardedProgramLoad {
  public:
    GuardedProgramLoad(const ProgramBinaryStore& store, std::string_view key);
    // The hand-over is over, whatever the driver made of it: the mark goes.
    ~GuardedProgramLoad();
    GuardedProgramLoad(const GuardedProgramLoad&) = delete;
    GuardedProgramLoad& operator=(const GuardedProgramLoad&) = delete;

    // The saved program to hand to the driver now, or none.
    std::optional<ProgramRecord>& Record() { return record_; }

  private:
    std::unique_ptr<FileLock> mark_;  // the mark file, locked by this process
    bool marked_ = false;
    std::optional<ProgramRecord> record_;
};

}  // namespace tetrakon::gfx
