// Saving into an existing registry file: only the changed values' lines are replaced, so
// everything else the file holds stays byte for byte, in the file's own encoding.

#include <vector>

#include "gfxutil/ascii.h"
#include "platform/registry/reg_file_format.h"
#include "platform/registry/reg_file_text.h"

namespace tetrakon {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Notes how the text changes with the values of one key set: each changed value's first
// line after its last deletion takes its new line (under the name as the file spells it),
// its other lines and deletions go; values the key lacks go after its last value (or
// header) line, or in a new key at the end when the key is missing or deleted after its
// last lines. Everything else is copied as it is.
class MergingVisitor final : public RegTextVisitor {
  public:
    MergingVisitor(std::string_view text, const RegKeyEntry& changes)
        : text_(text), changes_(changes), lineEdit_(changes.Values().size(), kNone) {}

    void Key(std::string_view path, std::size_t end) override {
        inChangedKey_ = EqualsIgnoringCase(path, changes_.Path());
        if (inChangedKey_) {
            keyFound_ = true;
            insertAt_ = end;
        }
    }

    // Whatever came before of a deleted key reads as nothing: its lines may stay as they are.
    void KeyDeleted(std::string_view path) override {
        inChangedKey_ = false;
        if (InKeyTree(changes_.Path(), path)) {
            edits_.clear();
            lineEdit_.assign(lineEdit_.size(), kNone);
            keyFound_ = false;
        }
    }

    void Value(const std::string& name, std::optional<RegValue> value, std::size_t begin,
               std::size_t end) override {
        if (!inChangedKey_) {
            return;
        }
        insertAt_ = end;
        const std::vector<RegNamedValue>& values = changes_.Values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!EqualsIgnoringCase(values[i].name, name)) {
                continue;
            }
            if (!value) {  // deleted: what came before counts for nothing, it goes later
                if (lineEdit_[i] != kNone) {
                    edits_[lineEdit_[i]].line.clear();
                }
                lineEdit_[i] = kNone;
                edits_.push_back(Edit{begin, end, {}});
                return;
            }
            std::string line;
            if (lineEdit_[i] == kNone) {
                AppendRegValue(&line, RegNamedValue{name, values[i].value});  // the file's spelling
                lineEdit_[i] = edits_.size();
            }
            edits_.push_back(Edit{begin, end, std::move(line)});
            return;
        }
    }

    // The text with the edits made, and what was not replaced added.
    void Finish(std::string* out) const {
        const std::size_t at = keyFound_ ? insertAt_ : text_.size();
        std::size_t copied = 0;
        for (const Edit& edit : edits_) {
            out->append(text_.substr(copied, edit.begin - copied));
            out->append(edit.line);
            copied = edit.end;
        }
        out->append(text_.substr(copied, at - copied));
        std::string added;
        if (!keyFound_) {
            added = "[" + changes_.Path() + "]\n";
        }
        const std::vector<RegNamedValue>& values = changes_.Values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (lineEdit_[i] == kNone) {
                AppendRegValue(&added, values[i]);
            }
        }
        if (!added.empty() && !out->empty() && out->back() != '\n') {
            out->push_back('\n');  // the file's last line had no line end
        }
        out->append(added);
        out->append(text_.substr(at));
    }

  private:
    struct Edit {
        std::size_t begin;
        std::size_t end;
        std::string line;  // what takes the place of the text from begin to end
    };

    std::string_view text_;
    const RegKeyEntry& changes_;
    std::vector<Edit> edits_;
    std::vector<std::size_t> lineEdit_;  // per changed value: the edit with its new line
    bool inChangedKey_ = false;
    bool keyFound_ = false;
    std::size_t insertAt_ = 0;
};

}  // namespace

bool MergeRegText(std::string_view bytes, const RegKeyEntry& changes, std::string* merged) {
    merged->clear();
    std::string decoded;
    const std::optional<std::string_view> text = RegFileText(bytes, &decoded);
    if (!text) {
        return false;
    }
    MergingVisitor visitor(*text, changes);
    std::string out;
    if (!ParseRegText(*text, visitor)) {
        return false;
    }
    visitor.Finish(&out);
    return EncodeLike(bytes, out, merged);
}

}  // namespace tetrakon
