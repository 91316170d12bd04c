#include "gfxutil/xfile/xfile_read_ahead.h"

#include <algorithm>
#include <condition_variable>
#include <list>
#include <mutex>
#include <new>

namespace tetrakon {

namespace {

struct ReadAhead {
    ReadAhead(const std::uint8_t* bytes, std::size_t length) : data(bytes), size(length) {}

    const std::uint8_t* data;
    std::size_t size;
    bool done = false;
    XStatus status;
    XFile file;
};

std::mutex readAheadMutex;
std::condition_variable readAheadDone;
// A list, so that an entry stays where it is while its read runs unlocked.
std::list<ReadAhead> readAheads;

std::list<ReadAhead>::iterator FindReadAhead(std::span<const std::uint8_t> data) {
    return std::find_if(readAheads.begin(), readAheads.end(), [data](const ReadAhead& entry) {
        return entry.data == data.data() && entry.size == data.size();
    });
}

}  // namespace

void ReadXFilesAhead(std::span<const std::span<const std::uint8_t>> files) {
    std::vector<std::list<ReadAhead>::iterator> entries;
    {
        const std::lock_guard lock(readAheadMutex);
        for (const std::span<const std::uint8_t> data : files) {
            entries.push_back(readAheads.emplace(readAheads.end(), data.data(), data.size()));
        }
    }
    for (const auto entry : entries) {
        XFile file;
        XStatus status;
        bool read = true;
        try {
            status = ReadXFile({entry->data, entry->size}, &file);
        } catch (const std::bad_alloc&) {
            read = false;  // the taker reads it again and meets the failure itself
        }
        const std::lock_guard lock(readAheadMutex);
        if (read) {
            entry->status = std::move(status);
            entry->file = std::move(file);
            entry->done = true;
        } else {
            readAheads.erase(entry);
        }
        readAheadDone.notify_all();
    }
}

XStatus TakeOrReadXFile(std::span<const std::uint8_t> data, XFile* out) {
    {
        std::unique_lock lock(readAheadMutex);
        std::list<ReadAhead>::iterator entry;
        readAheadDone.wait(lock, [&] {
            entry = FindReadAhead(data);
            return entry == readAheads.end() || entry->done;
        });
        if (entry != readAheads.end()) {
            XStatus status = std::move(entry->status);
            *out = std::move(entry->file);
            readAheads.erase(entry);
            return status;
        }
    }
    return ReadXFile(data, out);
}

}  // namespace tetrakon
