#include "platform/registry/reg_file_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tetrakon {
namespace {

using namespace std::string_literals;

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Tetrakon";

RegValue Bytes(RegType type, std::string bytes) {
    return RegValue{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

RegValue Text(const std::string& text) {
    return Bytes(REG_SZ, text + std::string(1, '\0'));
}

// The editor's default export encoding.
std::string Utf16(std::u16string_view text) {
    std::string bytes = "\xff\xfe";
    for (const char16_t unit : text) {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return bytes;
}

TEST(RegFileFormat, WritesTheRegedit4Layout) {
    RegistryContents contents;
    RegKeyEntry& key = contents.Key(kKey);
    key.Set("Left", Bytes(REG_DWORD, std::string("\x0a\0\0\0", 4)));
    key.Set("PathImage", Text("C:\\path with \"quotes\""));
    key.Set("Other", Bytes(REG_BINARY, "\x01\x02\xff"));
    key.Set("", Bytes(7, std::string("a\0\0", 3)));
    key.Set("Long", Bytes(REG_BINARY, std::string(60, '\x5a')));
    key.Set("Lines", Bytes(REG_BINARY, std::string(30, '\x5a')));
    // Long hex data wraps as the platform's editor wraps it, before column 77: 22 or 21
    // bytes on the first line (names of two lengths), 25 on each further one, indented by two
    // spaces.
    const auto bytes = [](int count) {
        std::string text;
        while (count-- > 0) {
            text += "5a,";
        }
        return text;
    };
    EXPECT_EQ(FormatRegFile(contents),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software\\Tetrakon]\n"
              "\"Left\"=dword:0000000a\n"
              "\"PathImage\"=\"C:\\\\path with \\\"quotes\\\"\"\n"
              "\"Other\"=hex:01,02,ff\n"
              "@=hex(7):61,00,00\n"
              "\"Long\"=hex:" +
                  bytes(22) + "\\\n  " + bytes(25) + "\\\n  " + bytes(12) + "5a\n" +
                  "\"Lines\"=hex:" + bytes(21) + "\\\n  " + bytes(8) + "5a\n");
}

TEST(RegFileFormat, EveryValueReadsBackByteForByte) {
    const std::vector<RegNamedValue> values = {
        {"Number", Bytes(REG_DWORD, std::string("\x78\x56\x34\x12", 4))},
        {"Escapes \\ \"", Text("\\\\server\\\"x\"\\")},
        {"Cyrillic", Text("C:/Картинки/фон.jpg")},
        {"Empty", Text("")},
        {"Tab", Text("a\tb")},
        {"Newline", Text("line\nnext\r")},
        {"Inner terminator", Bytes(REG_SZ, std::string("a\0b\0", 4))},
        {"No terminator", Bytes(REG_SZ, "abc")},
        {"Not UTF-8", Text("\xC0\xAF\xFF")},
        {"Short number", Bytes(REG_DWORD, "\x01")},
        {"Long binary", Bytes(REG_BINARY, std::string(300, '\x5a'))},
        {"No bytes", Bytes(REG_BINARY, "")},
        {"Quad word", Bytes(0xb, std::string("\1\2\3\4\5\6\7\x08", 8))},
    };
    RegistryContents written;
    for (const RegNamedValue& value : values) {
        written.Key(kKey).Set(value.name, value.value);
    }
    written.Key("HKEY_CURRENT_USER\\Software\\Other").Set("x", Text("y"));

    RegistryContents read;
    ASSERT_TRUE(ParseRegFile(FormatRegFile(written), &read)) << FormatRegFile(written);
    ASSERT_EQ(read.Keys().size(), 2u);
    const RegKeyEntry* key = read.FindKey(kKey);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->Values().size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(key->Values()[i].name, values[i].name);
        EXPECT_EQ(key->Values()[i].value, values[i].value) << values[i].name;
    }
}

// Random keys and values of every kind, some rounds filled up to the size limit: what the
// writer makes within the limit reads back the same, key for key and byte for byte.
TEST(RegFileFormat, RandomContentsWithinTheLimitReadBack) {
    std::mt19937 random(15);
    const auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    // Bytes from `first` to `last`; names and paths have no control characters.
    const auto bytes = [&](std::size_t length, int first, int last = 255) {
        std::string text(length, ' ');
        for (char& c : text) {
            do {
                c = static_cast<char>(first + static_cast<int>(below(last + 1 - first)));
            } while (c == '\x7f' || (first > 0 && (c == '[' || c == ']')));
        }
        return text;
    };
    const auto value = [&] {
        const std::size_t length = below(4) == 0 ? below(kMaxRegValueBytes) : below(40);
        switch (below(5)) {
            case 0:
                return Text(bytes(length, 0x20));
            case 4:
                return Text(bytes(length, 0x20, 0x7e));
            case 1:
                return Bytes(REG_DWORD, bytes(below(3) == 0 ? length % 8 : 4, 0));
            case 2:
                return Bytes(REG_SZ, bytes(length, 0));
            default:
                return Bytes(static_cast<RegType>(random()), bytes(length, 0));
        }
    };
    std::size_t largest = 0;
    for (int round = 0; round < 24; ++round) {
        const std::size_t budget =
            round % 3 == 2 ? kMaxRegFileBytes / 3 + below(kMaxRegFileBytes / 2) : 64 * 1024;
        RegistryContents written;
        for (std::size_t size = 0; size < budget;) {
            RegKeyEntry& key = written.Key("HKEY_CURRENT_USER\\" + bytes(1 + below(20), 0x20));
            for (std::size_t n = below(6); n > 0; --n) {
                const RegValue data = value();
                size += 3 * data.data.size() + 30;
                key.Set(bytes(below(12), 0x20), data);
            }
        }
        const std::string text = FormatRegFile(written);
        if (text.size() <= kMaxRegFileBytes) {
            RegistryContents read;
            ASSERT_TRUE(ParseRegFile(text, &read)) << "round " << round;
            EXPECT_TRUE(read == written) << "round " << round;
            largest = std::max(largest, text.size());
        }
    }
    EXPECT_GT(largest, kMaxRegFileBytes * 3 / 4);
}

TEST(RegistryContents, NamesMatchWithoutRegardToCaseInKeysOfAnySize) {
    for (const int count : {3, 40}) {
        RegKeyEntry key(kKey);
        for (int i = 0; i < count; ++i) {
            key.Set("Name" + std::to_string(i), Text("old"));
        }
        for (const int changed : {1, count - 1}) {
            key.Set("NAME" + std::to_string(changed), Text("new"));
            const RegValue* found = key.Find("name" + std::to_string(changed));
            ASSERT_NE(found, nullptr) << count;
            EXPECT_EQ(*found, Text("new")) << count;
        }
        EXPECT_EQ(key.Values().size(), static_cast<std::size_t>(count));
        EXPECT_EQ(key.Find("name" + std::to_string(count)), nullptr);
    }
}

TEST(RegFileFormat, AcceptsWhatOtherEditorsWrite) {
    struct Case {
        std::string text;
        std::optional<RegValue> expected;  // nothing: deleted
    };
    const Case cases[] = {
        {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\r\n\"V\"=dword:0000000A\r\n",
         Bytes(REG_DWORD, std::string("\x0a\0\0\0", 4))},
        {"\xEF\xBB\xBFREGEDIT4\n[hkey_current_user\\software\\tetrakon]\n\"v\"=DWORD:ff\n",
         Bytes(REG_DWORD, std::string("\xff\0\0\0", 4))},
        {"REGEDIT4\n; comment\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n  \"V\" = \"x\"  \n",
         Text("x")},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"V\"=hex:01,02,\\\n  03,\\\n  04\n",
         Bytes(REG_BINARY, "\x01\x02\x03\x04")},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"V\"=\"old\"\n\"v\"=hex(2):41,0\n",
         Bytes(2, std::string("A\0", 2))},
        {"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\r\n"
         "\"V\"=\"ф\"\r\n",
         Text("ф")},
        {Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\"
               u"Tetrakon]\r\n\"V\"=\"ф\U0001F600\"\r\n"),
         Text("ф\U0001F600")},
        // Deletions in the editor's syntax: of a value, of a key above, not of its neighbour.
        {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"V\"=dword:1\n\"v\"=-\n", {}},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"V\"=dword:1\n"
         "[-HKEY_CURRENT_USER\\Software]\n\"W\"=-\n",
         {}},
        {"REGEDIT4\n[-HKEY_CURRENT_USER\\Software\\Tetrakon]\n[HKEY_CURRENT_USER\\Software\\"
         "Tetrakon]\n\"V\"=\"x\"\n[-HKEY_CURRENT_USER\\Software\\Tetrakon2]\n",
         Text("x")},
    };
    const auto found = [](const RegKeyEntry* key) {
        const RegValue* value = key != nullptr ? key->Find("V") : nullptr;
        return value != nullptr ? std::optional(*value) : std::nullopt;
    };
    for (const Case& c : cases) {
        RegistryContents contents;
        ASSERT_TRUE(ParseRegFile(c.text, &contents)) << c.text;
        EXPECT_EQ(found(contents.FindKey(kKey)), c.expected) << c.text;
        // The one-key read the store uses finds the same.
        RegKeyEntry single(kKey);
        ASSERT_TRUE(ParseRegKey(c.text, &single)) << c.text;
        EXPECT_EQ(found(&single), c.expected) << c.text;
    }
}

// A save into an editor's export keeps its header, encoding and line ends; a deleted value
// is written after its deletion, a deleted key anew after its deletion.
TEST(RegFileFormat, ASaveKeepsWhatTheFileIsAndWhatItDeletes) {
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Tetrakon]\n";
    const std::string left = "\"Left\"=dword:00000002\n";
    const std::pair<std::string, std::string> cases[] = {
        {Utf16(u"Windows Registry Editor Version 5.00\r\n; ф\r\n"),
         Utf16(u"Windows Registry Editor Version 5.00\r\n; ф\r\n"
               u"[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"Left\"=dword:00000002\n")},
        {"REGEDIT4\n" + key + "\"Left\"=dword:1\n\"A\"=-\n\"left\"=-\n",
         "REGEDIT4\n" + key + "\"A\"=-\n" + left},
        {"REGEDIT4\n" + key + "\"Left\"=dword:1\n[-HKEY_CURRENT_USER\\Software]\n",
         "REGEDIT4\n" + key + "\"Left\"=dword:1\n[-HKEY_CURRENT_USER\\Software]\n" + key + left},
        {"REGEDIT4\n" + key + "\"A\"=dword:3", "REGEDIT4\n" + key + "\"A\"=dword:3\n" + left},
    };
    RegKeyEntry change(kKey);
    change.Set("Left", Bytes(REG_DWORD, std::string("\x02\0\0\0", 4)));
    for (const auto& [before, after] : cases) {
        std::string merged;
        ASSERT_TRUE(MergeRegText(before, change, &merged)) << before;
        EXPECT_EQ(merged, after) << before;
    }
}

TEST(RegFileFormat, RejectsBrokenFiles) {
    const std::string key = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n";
    const std::string cases[] = {
        "",
        "REGEDIT4\n\"V\"=dword:1\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\n",
        "REGEDIT4\n[]\n",
        "REGEDIT4\n[-]\n",
        "\xff\xfe\x00\xd8"s,  // UTF-16 with half a surrogate pair
        key + "\"V\"=\"unterminated\n",
        key + "\"V\"=\"bad \\n escape\"\n",
        key + "\"V\"=\"x\" trailing\n",
        key + "\"V\"=\"nul \0 inside\"\n"s,
        key + "\"V\"\n",
        key + "V=dword:1\n",
        key + "\"V\"=qword:1\n",
        key + "\"V\"=dword:\n",
        key + "\"V\"=dword:123456789\n",
        key + "\"V\"=dword:12g4\n",
        key + "\"V\"=hex:1,,2\n",
        key + "\"V\"=hex:123\n",
        key + "\"V\"=hex(:01\n",
        key + "\"V\"=hex(1ffffffff):01\n",
        key + "\"V\"=hex:01,\\\n",
        key + "\"V\"=\"" + std::string(kMaxRegValueBytes, 'a') + "\"\n",
        key + "\"" + std::string(kMaxRegNameLength + 1, 'n') + "\"=dword:1\n",
    };
    for (const std::string& text : cases) {
        RegistryContents contents;
        EXPECT_FALSE(ParseRegFile(text, &contents)) << text.substr(0, 120);
    }
}

TEST(RegFileFormat, RejectsDataOverTheValueLimit) {
    std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Tetrakon]\n\"V\"=hex:00";
    for (std::size_t i = 1; i <= kMaxRegValueBytes; ++i) {
        text += ",00";
    }
    RegistryContents contents;
    EXPECT_FALSE(ParseRegFile(text, &contents));
    text.resize(text.size() - 3);  // exactly at the limit
    EXPECT_TRUE(ParseRegFile(text, &contents));
}

}  // namespace
}  // namespace tetrakon
