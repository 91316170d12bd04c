// Saving into an existing registry file: only the changed values' lines are replaced, so
// everything else the file holds stays byte for byte.

#include <vector>

#include "gfxutil/ascii.h"
#include "platform/registry/reg_file_format.h"
#include "platform/registry/reg_file_text.h"

namespace tetrakon {
namespace {

// Copies the text with the values of one key changed: each changed value's first lines
// are replaced by its new line (under the name as the file spells it) and its repeats
// dropped; values the key lacks go after
// its last value (or header) line. Everything else is copied as it is.
class MergingVisitor final : public RegTextVisitor {
  public:
    MergingVisitor(std::string_view text, const RegKeyEntry& changes, std::string* out)
        : text_(text), changes_(changes), out_(out), written_(changes.Values().size(), false) {}

    void Key(std::string_view path, std::size_t end) override {
        inChangedKey_ = EqualsIgnoringCase(path, changes_.Path());
        if (inChangedKey_) {
            keyFound_ = true;
            insertAt_ = end;
        }
    }

    void Value(const std::string& name, RegValue, std::size_t begin, std::size_t end) override {
        if (!inChangedKey_) {
            return;
        }
        insertAt_ = end;
        const std::vector<RegNamedValue>& values = changes_.Values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (EqualsIgnoringCase(values[i].name, name)) {
                out_->append(text_.substr(copied_, begin - copied_));
                if (!written_[i]) {
                    AppendRegValue(out_,
                                   RegNamedValue{name, values[i].value});  // the file's spelling
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
                AppendRegValue(&added, values[i]);
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

}  // namespace tetrakon
