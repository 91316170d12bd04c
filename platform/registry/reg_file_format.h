#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/registry/registry_contents.h"

namespace tetrakon {

// A registry file larger than this is taken as corrupt without being read further, and
// one the writer would make larger is not written.
constexpr std::size_t kMaxRegFileBytes = 8 * 1024 * 1024;

// Reads a registry file in the REGEDIT4 text format:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Tetrakon]
//   "Left"=dword:0000000a
//   "PathImage"="C:\\path with \"quotes\""
//   "Other"=hex:01,02,ff
//   "Typed"=hex(7):61,00,00
//
// Strings are stored with their terminator; quoted names and strings escape only the
// backslash and the double quote. Hex data may continue over lines ending in a backslash.
// Lines starting with ';' are comments. Returns false, with `contents` unspecified, for
// anything else: the caller then treats the whole file as unreadable.
bool ParseRegFile(std::string_view text, RegistryContents* contents);

// The same check of the whole text, keeping only the values of the key named as `key`
// (whose values must be empty), and of those only the ones named in `onlyNames` when it
// is not empty, so that reading what a program uses costs no memory for the rest.
bool ParseRegKey(std::string_view text, RegKeyEntry* key,
                 std::span<const std::string_view> onlyNames = {});

// The registry file `text` with the values of `changes` set in its key, in `merged`:
// every other line stays byte for byte (other keys, other values, comments, blank lines,
// line ends). A changed value's line (with the name as the file spells it) takes the place
// of that value's first lines and its repeats go; a value the key lacks follows the key's last
// value; a missing key is added at the end. False, with `merged` empty, when `text` is not a
// registry file.
bool MergeRegText(std::string_view text, const RegKeyEntry& changes, std::string* merged);

// Writes `contents` in the same format, one line for each key and value, with no blank
// lines between keys. Strings that the quoted form cannot carry
// exactly (control characters, inner terminators, a missing terminator, bytes that are
// not UTF-8) are written as hex(1) data, so every value reads back byte for byte.
std::string FormatRegFile(const RegistryContents& contents);

}  // namespace tetrakon
