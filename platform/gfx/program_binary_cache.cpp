#include "platform/gfx/program_binary_cache.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "gfxutil/file_io.h"

namespace tetrakon::gfx {
namespace {

constexpr std::string_view kMagic = "TKGLPROG";
constexpr std::uint32_t kRecordVersion = 1;
// Changes whenever the way the program is built or used changes, so that older records
// are not taken for current ones.
constexpr std::string_view kKeyVersion = "Tetrakon GL program 1";
constexpr std::size_t kHeaderSize = kMagic.size() + 4 * 4;
constexpr std::size_t kCrcSize = 4;
// What the hand-over mark holds while a hand-over runs; it is empty otherwise.
constexpr char kHandOverRuns = '1';

void AppendUint32(std::string* out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out->push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::uint32_t ReadUint32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint32_t Crc32(std::string_view key, std::string_view binary) {
    uLong crc = crc32_z(0L, Z_NULL, 0);
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(key.data()), key.size());
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(binary.data()), binary.size());
    return static_cast<std::uint32_t>(crc);
}

// Empties the hand-over mark; false when it could not be.
bool ClearMark(int fd) {
    return ::ftruncate(fd, 0) == 0;
}

void AppendField(std::string* key, std::string_view field) {
    *key += std::to_string(field.size());
    *key += '\n';
    *key += field;
    *key += '\n';
}

}  // namespace

std::string ProgramCacheKey(const ProgramCacheIdentity& identity) {
    std::string key;
    for (std::string_view field :
         {kKeyVersion, std::string_view(identity.vendor), std::string_view(identity.renderer),
          std::string_view(identity.version), std::string_view(identity.shadingLanguageVersion),
          identity.vertexShader, identity.fragmentShader}) {
        AppendField(&key, field);
    }
    return key;
}

std::string EncodeProgramRecord(const ProgramRecord& record) {
    std::string bytes;
    bytes.reserve(kHeaderSize + record.key.size() + record.binary.size() + kCrcSize);
    bytes += kMagic;
    AppendUint32(&bytes, kRecordVersion);
    AppendUint32(&bytes, record.format);
    AppendUint32(&bytes, static_cast<std::uint32_t>(record.key.size()));
    AppendUint32(&bytes, static_cast<std::uint32_t>(record.binary.size()));
    bytes += record.key;
    bytes += record.binary;
    AppendUint32(&bytes, Crc32(record.key, record.binary));
    return bytes;
}

std::optional<ProgramRecord> DecodeProgramRecord(std::string bytes) {
    const std::string_view view = bytes;
    if (view.size() < kHeaderSize + kCrcSize || view.substr(0, kMagic.size()) != kMagic ||
        ReadUint32(view, kMagic.size()) != kRecordVersion) {
        return std::nullopt;
    }
    const std::size_t keySize = ReadUint32(view, kMagic.size() + 8);
    const std::size_t binarySize = ReadUint32(view, kMagic.size() + 12);
    // Compared piece by piece, so that no length field can overflow the sum.
    const std::size_t body = view.size() - kHeaderSize - kCrcSize;
    if (keySize > body || binarySize != body - keySize) {
        return std::nullopt;
    }
    const std::string_view key = view.substr(kHeaderSize, keySize);
    const std::string_view binary = view.substr(kHeaderSize + keySize, binarySize);
    if (ReadUint32(view, kHeaderSize + body) != Crc32(key, binary)) {
        return std::nullopt;
    }
    ProgramRecord record;
    record.format = ReadUint32(view, kMagic.size() + 4);
    record.key = std::string(key);
    bytes.resize(kHeaderSize + keySize + binarySize);
    bytes.erase(0, kHeaderSize + keySize);
    record.binary = std::move(bytes);
    return record;
}

ProgramBinaryStore::ProgramBinaryStore(const std::string& cacheDirectory) {
    if (!cacheDirectory.empty()) {
        directory_ = cacheDirectory + "/Tetrakon";
        file_ = directory_ + "/gl-program.bin";
    }
}

std::string ProgramBinaryStore::DefaultCacheDirectory() {
    return XdgBaseDirectory("XDG_CACHE_HOME", ".cache");
}

std::optional<ProgramRecord> ProgramBinaryStore::Load(std::string_view key) const {
    std::string bytes;
    if (file_.empty() || ReadFileBounded(file_, kMaxFileSize, &bytes) != FileReadOutcome::Read) {
        return std::nullopt;
    }
    std::optional<ProgramRecord> record = DecodeProgramRecord(std::move(bytes));
    if (!record || record->key != key) {
        return std::nullopt;
    }
    return record;
}

void ProgramBinaryStore::Store(const ProgramRecord& record) const {
    if (file_.empty() ||
        kHeaderSize + record.key.size() + record.binary.size() + kCrcSize > kMaxFileSize ||
        !MakeDirectories(directory_)) {
        return;
    }
    // Another writer saves the same program: no need to wait for it.
    const FileLock lock(file_ + ".lock");
    if (!lock.Held()) {
        return;
    }
    RemoveStaleTemporaries(file_);
    WriteFileAtomically(file_, EncodeProgramRecord(record));
}

GuardedProgramLoad::GuardedProgramLoad(const ProgramBinaryStore& store, std::string_view key) {
    if (store.FilePath().empty()) {
        return;
    }
    mark_ = std::make_unique<FileLock>(store.FilePath() + ".loading");
    const int fd = mark_->Descriptor();
    // The size is read under the lock: a mark seen before could be one another copy
    // was about to clear.
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return;  // no mark can be kept, or another copy is handing its program over now
    }
    if (info.st_size > 0) {
        // A hand-over that never ended: the saved program goes, and this start compiles.
        ::unlink(store.FilePath().c_str());
        ClearMark(fd);
        return;
    }
    record_ = store.Load(key);
    marked_ = record_ && ::pwrite(fd, &kHandOverRuns, 1, 0) == 1;
    if (!marked_) {
        record_.reset();  // a hand-over that could not be marked is not made
    }
}

// The lock goes with `mark_`, after the mark is cleared.
GuardedProgramLoad::~GuardedProgramLoad() {
    if (marked_) {
        ClearMark(mark_->Descriptor());  // a mark that stays costs the next start a compile
    }
}

}  // namespace tetrakon::gfx
