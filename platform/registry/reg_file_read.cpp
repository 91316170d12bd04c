// Reading registry files: the REGEDIT4 syntax, checked line by line, into keys and values.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "gfxutil/ascii.h"
#include "platform/registry/reg_file_format.h"
#include "platform/registry/reg_file_text.h"

namespace tetrakon {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

// 1 to `maxDigits` hex digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

// Splits the text into lines ended by LF or CR LF, and knows where the next line starts.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    bool Next(std::string_view* line) {
        if (done_) {
            return false;
        }
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            *line = rest_;
            rest_.remove_prefix(rest_.size());
            done_ = true;
        } else {
            *line = rest_.substr(0, end);
            rest_.remove_prefix(end + 1);
        }
        if (!line->empty() && line->back() == '\r') {
            line->remove_suffix(1);
        }
        return true;
    }

    // Where the line Next gives next begins (the text's end after the last line).
    const char* NextLineStart() const { return rest_.data(); }

  private:
    std::string_view rest_;
    bool done_ = false;
};

// Reads a quoted text at the start of `rest` and moves `rest` past its closing quote.
bool ParseQuoted(std::string_view* rest, std::size_t maxLength, std::string* text) {
    if (rest->empty() || rest->front() != '"') {
        return false;
    }
    text->clear();
    std::size_t i = 1;
    while (i < rest->size()) {
        char c = (*rest)[i];
        if (c == '"') {
            rest->remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= rest->size()) {
                return false;
            }
            c = (*rest)[i + 1];
            if (c != '\\' && c != '"') {
                return false;
            }
            ++i;
        } else if (IsRegControl(c) && c != '\t') {
            return false;
        }
        if (text->size() >= maxLength) {
            return false;
        }
        text->push_back(c);
        ++i;
    }
    return false;
}

// One line's part of a hex list: bytes of one or two digits separated by commas, a
// trailing comma allowed.
bool ParseHexBytes(std::string_view list, std::vector<std::uint8_t>* data) {
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view piece = TrimRight(TrimLeft(list.substr(0, comma)));
        if (comma == std::string_view::npos) {
            if (piece.empty()) {
                return true;
            }
        } else if (piece.empty()) {
            return false;
        }
        const auto byte = ParseHexNumber(piece, 2);
        if (!byte || data->size() >= kMaxRegValueBytes) {
            return false;
        }
        data->push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) {
            return true;
        }
        list.remove_prefix(comma + 1);
    }
}

// "hex:..." or "hex(N):...", continued over lines that end in a backslash.
bool ParseHexData(std::string_view text, LineReader* lines, RegValue* value) {
    text.remove_prefix(3);
    value->type = REG_BINARY;
    if (!text.empty() && text.front() == '(') {
        const std::size_t close = text.find(')');
        if (close == std::string_view::npos) {
            return false;
        }
        const auto type = ParseHexNumber(text.substr(1, close - 1), 8);
        if (!type) {
            return false;
        }
        value->type = *type;
        text.remove_prefix(close + 1);
    }
    if (text.empty() || text.front() != ':') {
        return false;
    }
    text.remove_prefix(1);
    while (true) {
        text = TrimRight(text);
        const bool continues = !text.empty() && text.back() == '\\';
        if (continues) {
            text.remove_suffix(1);
        }
        if (!ParseHexBytes(text, &value->data)) {
            return false;
        }
        if (!continues) {
            return true;
        }
        // A continuation line is never empty: one that is marks a cut-off file.
        if (!lines->Next(&text) || TrimLeft(TrimRight(text)).empty()) {
            return false;
        }
    }
}

bool ParseValueData(std::string_view text, LineReader* lines, RegValue* value) {
    if (!text.empty() && text.front() == '"') {
        std::string string;
        if (!ParseQuoted(&text, kMaxRegValueBytes - 1, &string) || !TrimRight(text).empty()) {
            return false;
        }
        value->type = REG_SZ;
        value->data.assign(string.begin(), string.end());
        value->data.push_back(0);
        return true;
    }
    if (StartsWithIgnoringCase(text, "dword:")) {
        const auto number = ParseHexNumber(TrimRight(text.substr(6)), 8);
        if (!number) {
            return false;
        }
        value->type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8) {
            value->data.push_back(static_cast<std::uint8_t>(*number >> shift));
        }
        return true;
    }
    if (StartsWithIgnoringCase(text, "hex")) {
        return ParseHexData(text, lines, value);
    }
    return false;
}

// Nothing for "-", the deletion mark of the editor's import syntax.
bool ParseData(std::string_view text, LineReader* lines, std::optional<RegValue>* value) {
    if (TrimRight(text) == "-") {
        value->reset();
        return true;
    }
    value->emplace();
    return ParseValueData(text, lines, &**value);
}

bool ParseValueLine(std::string_view line, LineReader* lines, std::string* name,
                    std::optional<RegValue>* value) {
    name->clear();
    if (line.front() == '@') {
        line.remove_prefix(1);
    } else if (!ParseQuoted(&line, kMaxRegNameLength, name)) {
        return false;
    }
    line = TrimLeft(line);
    if (line.empty() || line.front() != '=') {
        return false;
    }
    return ParseData(TrimLeft(line.substr(1)), lines, value);
}

bool ValidKeyPath(std::string_view path) {
    if (path.empty() || path.size() > kMaxRegNameLength || path.front() == '-') {
        return false;
    }
    for (char c : path) {
        if (IsRegControl(c)) {
            return false;
        }
    }
    return true;
}

// Hands each key's values to the entry `keyFor` gives for its path; a null entry drops
// them, as does `keep` answering false for the value's name. `dropTree` carries out a
// key's deletion.
template <typename KeyFor, typename Keep, typename DropTree>
class CollectingVisitor final : public RegTextVisitor {
  public:
    CollectingVisitor(KeyFor keyFor, Keep keep, DropTree dropTree)
        : keyFor_(keyFor), keep_(keep), dropTree_(dropTree) {}

    void Key(std::string_view path, std::size_t /*end*/) override { key_ = keyFor_(path); }
    void KeyDeleted(std::string_view path) override {
        dropTree_(path);
        key_ = nullptr;  // the values that follow until the next key belong to none
    }
    void Value(const std::string& name, std::optional<RegValue> value, std::size_t,
               std::size_t) override {
        if (key_ == nullptr || !keep_(name)) {
            return;
        }
        if (value) {
            key_->Set(name, std::move(*value));
        } else {
            key_->Remove(name);
        }
    }

  private:
    KeyFor keyFor_;
    Keep keep_;
    DropTree dropTree_;
    RegKeyEntry* key_ = nullptr;
};

template <typename KeyFor, typename Keep, typename DropTree>
bool CollectRegText(std::string_view bytes, KeyFor keyFor, Keep keep, DropTree dropTree) {
    std::string decoded;
    const std::optional<std::string_view> text = RegFileText(bytes, &decoded);
    CollectingVisitor<KeyFor, Keep, DropTree> visitor(keyFor, keep, dropTree);
    return text && ParseRegText(*text, visitor);
}

}  // namespace

bool ParseRegText(std::string_view text, RegTextVisitor& visitor) {
    const char* const base = text.data();
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    LineReader lines(text);
    std::string_view line;
    if (!lines.Next(&line) || (TrimRight(line) != kRegHeader && TrimRight(line) != kRegHeader5)) {
        return false;
    }
    bool inKey = false;
    std::string name;
    const auto offset = [base](const char* at) { return static_cast<std::size_t>(at - base); };
    while (true) {
        const std::size_t begin = offset(lines.NextLineStart());
        if (!lines.Next(&line)) {
            break;
        }
        line = TrimRight(TrimLeft(line));
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            std::string_view path = line.substr(1, line.size() - 2);
            const bool deletion = !path.empty() && path.front() == '-';
            if (deletion) {
                path.remove_prefix(1);
            }
            if (line.back() != ']' || !ValidKeyPath(path)) {
                return false;
            }
            inKey = true;
            if (deletion) {
                visitor.KeyDeleted(path);
            } else {
                visitor.Key(path, offset(lines.NextLineStart()));
            }
            continue;
        }
        std::optional<RegValue> value;
        if (!inKey || !ParseValueLine(line, &lines, &name, &value)) {
            return false;
        }
        visitor.Value(name, std::move(value), begin, offset(lines.NextLineStart()));
    }
    return true;
}

bool ParseRegFile(std::string_view text, RegistryContents* contents) {
    return CollectRegText(
        text, [contents](std::string_view path) { return &contents->Key(path); },
        [](const std::string&) { return true; },
        [contents](std::string_view path) { contents->RemoveTree(path); });
}

bool ParseRegKey(std::string_view text, RegKeyEntry* key,
                 std::span<const std::string_view> onlyNames) {
    return CollectRegText(
        text,
        [key](std::string_view path) {
            return EqualsIgnoringCase(path, key->Path()) ? key : nullptr;
        },
        [onlyNames](const std::string& name) {
            return onlyNames.empty() ||
                   std::any_of(onlyNames.begin(), onlyNames.end(), [&](std::string_view wanted) {
                       return EqualsIgnoringCase(wanted, name);
                   });
        },
        [key](std::string_view path) {
            if (InKeyTree(key->Path(), path)) {
                *key = RegKeyEntry(key->Path());
            }
        });
}

}  // namespace tetrakon
