#include "platform/password.h"

#include <gtest/gtest.h>

using namespace vellumo::platform;

namespace {

bool OnlyUpperHex(const std::string& s) {
    return s.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

TEST(PasswordForm, RoundTripsEveryByteValueAndLength) {
    std::string password;
    for (int c = 1; c < 128; ++c) password += static_cast<char>(c);
    ASSERT_EQ(password.size(), 127u);
    const std::string stored = ObscurePassword(password);
    EXPECT_EQ(stored.size(), 254u);
    EXPECT_TRUE(OnlyUpperHex(stored));
    EXPECT_EQ(RevealPassword(stored), password);
    for (size_t n = 0; n <= 127; n += 9) {
        const std::string p(n, 'x');
        EXPECT_EQ(ObscurePassword(p).size(), 2 * n);
        EXPECT_EQ(RevealPassword(ObscurePassword(p)), p);
    }
}

TEST(PasswordForm, IsNotThePlainTextAndDependsOnPosition) {
    const std::string stored = ObscurePassword("aaaa");
    EXPECT_NE(stored.substr(0, 2), stored.substr(2, 2));
    EXPECT_EQ(stored.find("61"), std::string::npos);  // 'a' in plain hex
}

TEST(PasswordForm, LongPasswordIsCutTo127Bytes) {
    const std::string password(200, 'k');
    const std::string stored = ObscurePassword(password);
    EXPECT_EQ(stored.size(), 254u);
    EXPECT_EQ(RevealPassword(stored), std::string(127, 'k'));
}

TEST(PasswordForm, CutNeverSplitsAUtf8Character) {
    // 126 ASCII bytes then "é" (2 bytes): the 127-byte cut would fall inside it.
    const std::string password = std::string(126, 'a') + "\xC3\xA9" + "zz";
    const std::string revealed = RevealPassword(ObscurePassword(password));
    EXPECT_EQ(revealed, std::string(126, 'a'));
    EXPECT_EQ(RevealPassword(ObscurePassword("p\xC3\xA4ss")), "p\xC3\xA4ss");
}

TEST(PasswordForm, DamagedStoredFormRevealsNothing) {
    const std::string good = ObscurePassword("secret");
    EXPECT_EQ(RevealPassword(good.substr(0, good.size() - 1)), "");  // odd length
    EXPECT_EQ(RevealPassword("G" + good.substr(1)), "");             // not hex
    EXPECT_EQ(RevealPassword(good.substr(0, 4) + " " + good.substr(5)), "");
    EXPECT_EQ(RevealPassword(std::string(256, 'A')), "");  // over 255 characters
    EXPECT_EQ(RevealPassword(std::string(255, 'A')), "");
    EXPECT_EQ(RevealPassword(""), "");
    // Lower-case hex from a hand edit still reads.
    std::string lower = good;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(RevealPassword(lower), "secret");
}

// The stored form with its first byte changed so that it decodes to `wanted` instead of `was`.
std::string WithFirstByteDecodingTo(const std::string& stored, char was, unsigned char wanted) {
    const unsigned value = std::stoul(stored.substr(0, 2), nullptr, 16);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", value ^ static_cast<unsigned char>(was) ^ wanted);
    return hex + stored.substr(2);
}

TEST(PasswordForm, StoredFormThatDecodesToBrokenTextRevealsNothing) {
    const std::string stored = ObscurePassword("ab");
    ASSERT_EQ(RevealPassword(WithFirstByteDecodingTo(stored, 'a', 'c')), "cb");  // the method
    EXPECT_EQ(RevealPassword(WithFirstByteDecodingTo(stored, 'a', 0x00)), "");   // zero byte
    EXPECT_EQ(RevealPassword(WithFirstByteDecodingTo(stored, 'a', 0xFF)), "");   // not UTF-8
    EXPECT_EQ(RevealPassword(WithFirstByteDecodingTo(stored, 'a', 0xC3)), "");   // cut sequence
}

}  // namespace
