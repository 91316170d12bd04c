#include "framework/registry/registry_values.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/registry/registry_store.h"
#include "tests/fakes/temporary_directory.h"

namespace tetrakon {
namespace {

using namespace std::string_literals;

class RegistryValuesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(store_.CreateKey(RegRoot::CurrentUser, "Software\\Tetrakon", &key_),
                  ERROR_SUCCESS);
    }

    void Store(RegType type, const std::string& bytes) {
        ASSERT_EQ(key_->SetValue("V", type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                 static_cast<std::uint32_t>(bytes.size())),
                  ERROR_SUCCESS);
    }

    std::string Stored(RegType* type) const {
        std::uint8_t data[64] = {};
        std::uint32_t size = sizeof data;
        if (key_->QueryValue("V", type, data, &size) != ERROR_SUCCESS) {
            return "<missing>";
        }
        return std::string(reinterpret_cast<const char*>(data), size);
    }

    TemporaryDirectory dir_;
    RegistryStore store_{dir_.Path()};
    std::unique_ptr<RegistryKey> key_;
};

TEST_F(RegistryValuesTest, ReadStringTakesWhatFitsAndTheDefaultOtherwise) {
    struct Case {
        std::optional<std::string> stored;  // REG_SZ bytes; none for a missing value
        std::uint32_t size;
        const char* defaultText;
        const char* expected;
        Result result;
    };
    const Case cases[] = {
        {std::nullopt, 16, "bg.jpg", "bg.jpg", E_FAIL},
        {"pic.png\0"s, 16, "bg.jpg", "pic.png", S_OK},
        {"1234567\0"s, 8, "bg.jpg", "1234567", S_OK},    // fills the buffer exactly
        {"12345678\0"s, 8, "bg.jpg", "bg.jpg", E_FAIL},  // one byte too many
        {std::nullopt, 4, "bg.jpg", "bg.", E_FAIL},      // default cut and terminated
        {"abc"s, 8, "bg.jpg", "abc", S_OK},              // stored without terminator
        {"abcdefgh"s, 8, "bg.jpg", "bg.jpg", E_FAIL},    // no room to terminate it
        {std::nullopt, 8, nullptr, "", E_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        if (c.stored) {
            Store(REG_SZ, *c.stored);
        }
        char buffer[17];
        std::fill(std::begin(buffer), std::end(buffer), 'X');
        EXPECT_EQ(
            ReadRegString(key_.get(), c.stored ? "V" : "Missing", buffer, c.size, c.defaultText),
            c.result);
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(buffer[c.size], 'X');  // nothing written past the buffer
    }
}

TEST_F(RegistryValuesTest, ReadDwordTakesExactlyFourBytes) {
    struct Case {
        std::optional<std::string> stored;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {std::nullopt, 77},
        {"\x78\x56\x34\x12"s, 0x12345678u},
        {"\x01\0\0\0\0\0\0\0"s, 77},  // a larger value
        {"\x01\x02"s, 77},            // a shorter one would leave half the old number
    };
    for (const Case& c : cases) {
        std::uint32_t value = 0xDEADBEEFu;
        if (c.stored) {
            Store(REG_BINARY, *c.stored);
            ReadRegDword(key_.get(), "V", &value, 77);
        } else {
            ReadRegDword(key_.get(), "Missing", &value, 77);
        }
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(RegistryValuesTest, WritesStoreTheirTypeAndSize) {
    RegType type = REG_NONE;
    EXPECT_EQ(WriteRegString(key_.get(), "V", nullptr), E_INVALIDARG);
    EXPECT_EQ(Stored(&type), "<missing>");

    EXPECT_EQ(WriteRegString(key_.get(), "V", "bg.jpg"), S_OK);
    EXPECT_EQ(Stored(&type), "bg.jpg\0"s);
    EXPECT_EQ(type, REG_SZ);

    EXPECT_EQ(WriteRegDword(key_.get(), "V", 0xFFFFFFFBu), S_OK);
    EXPECT_EQ(Stored(&type), "\xFB\xFF\xFF\xFF"s);
    EXPECT_EQ(type, REG_DWORD);
}

}  // namespace
}  // namespace tetrakon
