// xconvert IN OUT [--text|--compressed]
// Reads an X file of any encoding and writes it as text or as compressed binary (the
// default). Exits 0 on success and 2, with one line on stderr, on any failure; OUT is
// replaced only when the whole file has been written.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "gfxutil/xfile/xfile.h"

namespace {

constexpr int kFailure = 2;

int Fail(const std::string& message) {
    std::cerr << "xconvert: " << message << '\n';
    return kFailure;
}

// Writes to a temporary file beside `path`, then renames it over `path`, so that a failed
// run never leaves a half-written model for the build to pick up.
bool WriteWhole(const std::string& path, const char* data, std::size_t size, std::string* error) {
    const std::string temporary = path + ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            *error = "cannot create " + path;
            return false;
        }
        out.write(data, static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            *error = "cannot write " + path;
            return false;
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, path, code);
    if (code) {
        std::remove(temporary.c_str());
        *error = "cannot replace " + path + ": " + code.message();
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> files;
    bool text = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--text") {
            text = true;
        } else if (argument == "--compressed") {
            text = false;
        } else if (argument.starts_with("--")) {
            return Fail("unknown option " + std::string(argument));
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2)
        return Fail("usage: xconvert IN OUT [--text|--compressed]");
    const std::string input(files[0]);
    const std::string output(files[1]);

    tetrakon::XFile file;
    if (const tetrakon::XStatus status = tetrakon::ReadXFileFromPath(input, &file); !status.ok()) {
        return Fail(input + ": " + status.message);
    }

    std::string error;
    bool written = false;
    if (text) {
        std::string data;
        if (const tetrakon::XStatus status = tetrakon::WriteXFileText(file, &data); !status.ok()) {
            return Fail(input + ": " + status.message);
        }
        written = WriteWhole(output, data.data(), data.size(), &error);
    } else {
        std::vector<std::uint8_t> data;
        if (const tetrakon::XStatus status = tetrakon::WriteXFileCompressed(file, &data);
            !status.ok()) {
            return Fail(input + ": " + status.message);
        }
        written =
            WriteWhole(output, reinterpret_cast<const char*>(data.data()), data.size(), &error);
    }
    return written ? 0 : Fail(error);
}
