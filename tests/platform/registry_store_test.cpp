#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RegistryStoreTest : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, ZezirivRegistryKey); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, ZezirivRegistryKey); }

    // Writes a value of any kind and size, as another program might have left it.
    static void PutRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, ZezirivRegistryKey, 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    static std::string ReadString(const char* name, DWORD capacity, const char* fallback) {
        std::string buffer(capacity, '#');
        RegReadString(name, buffer.data(), capacity, fallback);
        return buffer.c_str();
    }
};

TEST_F(RegistryStoreTest, MissingKeyGivesDefaults) {
    EXPECT_EQ(ReadString("QuickHotKeys", 16, "fallback"), "fallback");
    EXPECT_EQ(RegReadDword("DesktopHotKey", 131194), 131194u);
    // A default longer than the buffer is cut, never overrun.
    EXPECT_EQ(ReadString("QuickHotKeys", 4, "fallback"), "fal");
}

TEST_F(RegistryStoreTest, WritesCreateTheKeyAndReadBack) {
    EXPECT_EQ(RegWriteString("EnableFilters", "_normal,hue_gbr"), ERROR_SUCCESS);
    EXPECT_EQ(RegWriteDword("ImageQuality", 12), ERROR_SUCCESS);
    EXPECT_EQ(ReadString("EnableFilters", 4096, ""), "_normal,hue_gbr");
    EXPECT_EQ(RegReadDword("ImageQuality", 0), 12u);
    RegWriteString("EnableFilters", "");
    EXPECT_EQ(ReadString("EnableFilters", 4096, "x"), "");
}

TEST_F(RegistryStoreTest, WrongKindsGiveDefaults) {
    const DWORD number = 1;
    const char text[] = "1";
    const BYTE two[2] = {1, 0};
    const char expand[] = "%TEMP%";
    PutRaw("AsNumber", REG_DWORD, &number, sizeof number);
    PutRaw("AsText", REG_SZ, text, sizeof text);
    PutRaw("AsBinary", REG_BINARY, &number, sizeof number);
    PutRaw("Short", REG_DWORD, two, sizeof two);
    PutRaw("Expand", REG_EXPAND_SZ, expand, sizeof expand);
    EXPECT_EQ(ReadString("AsNumber", 64, "d"), "d");
    EXPECT_EQ(ReadString("AsBinary", 64, "d"), "d");
    EXPECT_EQ(ReadString("Expand", 64, "d"), "d");
    EXPECT_EQ(RegReadDword("AsText", 7), 7u);
    EXPECT_EQ(RegReadDword("AsBinary", 7), 7u);
    EXPECT_EQ(RegReadDword("Short", 7), 7u);
    EXPECT_EQ(RegReadDword("AsNumber", 7), 1u);
}

TEST_F(RegistryStoreTest, TextsThatDoNotFitGiveDefaults) {
    const std::string fits(4095, 'a');
    RegWriteString("Fits", fits.c_str());
    RegWriteString("TooLong", (fits + "a").c_str());
    RegWriteString("Huge", std::string(100000, 'h').c_str());
    EXPECT_EQ(ReadString("Fits", 4096, "d"), fits);
    EXPECT_EQ(ReadString("TooLong", 4096, "d"), "d");
    EXPECT_EQ(ReadString("Huge", 4096, "d"), "d");

    // A text stored without its terminating zero: exactly the buffer's size cannot be
    // terminated, one byte less can.
    const std::string unterminated(4096, 'u');
    PutRaw("NoZero", REG_SZ, unterminated.data(), 4096);
    EXPECT_EQ(ReadString("NoZero", 4096, "d"), "d");
    PutRaw("NoZeroShort", REG_SZ, unterminated.data(), 10);
    EXPECT_EQ(ReadString("NoZeroShort", 4096, "d"), std::string(10, 'u'));
}

TEST_F(RegistryStoreTest, EmbeddedZeroEndsTheText) {
    const char text[] = "ab\0cd";
    PutRaw("Embedded", REG_SZ, text, sizeof text);
    CRegistryStore store;
    EXPECT_EQ(store.ReadString("Embedded", 4096).value_or("?"), "ab");
}

} // namespace
