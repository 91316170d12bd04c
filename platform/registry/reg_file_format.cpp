#include "platform/registry/reg_file_format.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "gfxutil/ascii.h"

namespace tetrakon {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Hex data lines are wrapped before this column, as the platform's editor does.
constexpr std::size_t kHexWrapColumn = 77;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
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
        } else if (IsControl(c) && c != '\t') {
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

bool ParseData(std::string_view text, LineReader* lines, RegValue* value) {
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
    return false;  // includes "-", the deletion mark of import files
}

bool ParseValueLine(std::string_view line, LineReader* lines, std::string* name, RegValue* value) {
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
        if (IsControl(c)) {
            return false;
        }
    }
    return true;
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (overlong || surrogate || code > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

// A string value the quoted form carries exactly: one terminator at the end, and text
// that is printable UTF-8.
bool IsQuotableString(const RegValue& value) {
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) {
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()),
                                value.data.size() - 1);
    for (char c : text) {
        if (IsControl(c) && c != '\t') {
            return false;
        }
    }
    return IsUtf8(text);
}

void AppendQuoted(std::string* out, std::string_view text) {
    out->push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out->push_back('\\');
        }
        out->push_back(c);
    }
    out->push_back('"');
}

void AppendHexByte(std::string* out, std::uint32_t byte) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    out->push_back(kDigits[(byte >> 4) & 0xFu]);
    out->push_back(kDigits[byte & 0xFu]);
}

void AppendHexData(std::string* out, std::size_t lineStart, const RegValue& value) {
    out->append("hex");
    if (value.type != REG_BINARY) {
        out->push_back('(');
        std::string digits;
        std::uint32_t type = value.type;
        do {
            digits.insert(digits.begin(), "0123456789abcdef"[type & 0xFu]);
            type >>= 4;
        } while (type != 0);
        out->append(digits);
        out->push_back(')');
    }
    out->push_back(':');
    std::size_t column = out->size() - lineStart;
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        if (i > 0) {
            out->push_back(',');
            ++column;
            if (column + 3 > kHexWrapColumn) {
                out->append("\\\n  ");
                column = 2;
            }
        }
        AppendHexByte(out, value.data[i]);
        column += 2;
    }
}

void AppendValue(std::string* out, const RegNamedValue& named) {
    const std::size_t lineStart = out->size();
    if (named.name.empty()) {
        out->push_back('@');
    } else {
        AppendQuoted(out, named.name);
    }
    out->push_back('=');
    const RegValue& value = named.value;
    if (IsQuotableString(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                           value.data.size() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        out->append("dword:");
        for (int i = 3; i >= 0; --i) {
            AppendHexByte(out, value.data[static_cast<std::size_t>(i)]);
        }
    } else {
        AppendHexData(out, lineStart, value);
    }
    out->push_back('\n');
}

// Checks the whole text and tells `visitor` of each key header and each value, with where
// its lines lie in the text: from the start of its first line to the start of the line
// after its last.
template <typename Visitor>
bool ParseRegText(std::string_view text, Visitor&& visitor) {
    if (text.size() > kMaxRegFileBytes) {
        return false;
    }
    const char* const base = text.data();
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    LineReader lines(text);
    std::string_view line;
    if (!lines.Next(&line) || TrimRight(line) != kHeader) {
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
            const std::string_view path = line.substr(1, line.size() - 2);
            if (line.back() != ']' || !ValidKeyPath(path)) {
                return false;
            }
            inKey = true;
            visitor.Key(path, offset(lines.NextLineStart()));
            continue;
        }
        RegValue value;
        if (!inKey || !ParseValueLine(line, &lines, &name, &value)) {
            return false;
        }
        visitor.Value(name, std::move(value), begin, offset(lines.NextLineStart()));
    }
    return true;
}

// Hands each key's values to the entry `keyFor` gives for its path; a null entry drops
// them, as does `keep` answering false for the value's name.
template <typename KeyFor, typename Keep>
struct CollectingVisitor {
    KeyFor keyFor;
    Keep keep;
    RegKeyEntry* key = nullptr;

    void Key(std::string_view path, std::size_t /*end*/) { key = keyFor(path); }
    void Value(const std::string& name, RegValue value, std::size_t, std::size_t) {
        if (key != nullptr && keep(name)) {
            key->Set(name, std::move(value));
        }
    }
};

template <typename KeyFor, typename Keep>
bool CollectRegText(std::string_view text, KeyFor keyFor, Keep keep) {
    return ParseRegText(text, CollectingVisitor<KeyFor, Keep>{keyFor, keep});
}

// Copies the text with the values of one key changed: each changed value's first lines
// are replaced by its new line (under the name as the file spells it) and its repeats
// dropped; values the key lacks go after
// its last value (or header) line. Everything else is copied as it is.
class MergingVisitor {
  public:
    MergingVisitor(std::string_view text, const RegKeyEntry& changes, std::string* out)
        : text_(text), changes_(changes), out_(out), written_(changes.Values().size(), false) {}

    void Key(std::string_view path, std::size_t end) {
        inChangedKey_ = EqualsIgnoringCase(path, changes_.Path());
        if (inChangedKey_) {
            keyFound_ = true;
            insertAt_ = end;
        }
    }

    void Value(const std::string& name, RegValue, std::size_t begin, std::size_t end) {
        if (!inChangedKey_) {
            return;
        }
        insertAt_ = end;
        const std::vector<RegNamedValue>& values = changes_.Values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (EqualsIgnoringCase(values[i].name, name)) {
                out_->append(text_.substr(copied_, begin - copied_));
                if (!written_[i]) {
                    AppendValue(out_, RegNamedValue{name, values[i].value});  // the file's spelling
                    written_[i] = true;
                }
                copied_ = end;
                return;
            }
        }
    }

    // Adds what was not replaced, and the key itself when the text had none.
    void Finish() {
        const std::size_t at = keyFound_ ? insertAt_ : text_.size();
        out_->append(text_.substr(copied_, at - copied_));
        std::string added;
        if (!keyFound_) {
            added = "[" + changes_.Path() + "]\n";
        }
        const std::vector<RegNamedValue>& values = changes_.Values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!written_[i]) {
                AppendValue(&added, values[i]);
            }
        }
        if (!added.empty() && !out_->empty() && out_->back() != '\n') {
            out_->push_back('\n');  // the file's last line had no line end
        }
        out_->append(added);
        out_->append(text_.substr(at));
    }

  private:
    std::string_view text_;
    const RegKeyEntry& changes_;
    std::string* out_;
    std::vector<bool> written_;  // per changed value: its new line is out
    std::size_t copied_ = 0;     // the text before this is in `out_`
    bool inChangedKey_ = false;
    bool keyFound_ = false;
    std::size_t insertAt_ = 0;
};

}  // namespace

bool ParseRegFile(std::string_view text, RegistryContents* contents) {
    return CollectRegText(
        text, [contents](std::string_view path) { return &contents->Key(path); },
        [](const std::string&) { return true; });
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
        });
}

bool MergeRegText(std::string_view text, const RegKeyEntry& changes, std::string* merged) {
    merged->clear();
    MergingVisitor visitor(text, changes, merged);
    if (!ParseRegText(text, visitor)) {
        merged->clear();
        return false;
    }
    visitor.Finish();
    return true;
}

std::string FormatRegFile(const RegistryContents& contents) {
    std::string out(kHeader);
    out.append("\n\n");
    for (const RegKeyEntry& key : contents.Keys()) {
        out.push_back('[');
        out.append(key.Path());
        out.append("]\n");
        for (const RegNamedValue& value : key.Values()) {
            AppendValue(&out, value);
        }
    }
    return out;
}

}  // namespace tetrakon
