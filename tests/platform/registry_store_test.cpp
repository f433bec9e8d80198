#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Values of any kind and size, as another program might have left them. (Missing values,
// texts read as numbers and numbers as texts, writes creating the key and the length limit are
// the profile test's, which runs on the registry too.)
TEST(RegistryStoreTest, OtherKindsShortNumbersAndUnterminatedTextsReadAsMissing) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ZezirivRegistryKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, ZezirivRegistryKey, 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const auto put = [key](const char* name, DWORD type, const void* data, std::size_t size) {
        ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data),
                         static_cast<DWORD>(size));
    };
    const DWORD number = 1;
    const BYTE two[2] = {1, 0};
    const std::string unterminated(4096, 'u');
    put("AsBinary", REG_BINARY, &number, sizeof number);
    put("Short", REG_DWORD, two, sizeof two);
    put("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    put("NoZero", REG_SZ, unterminated.data(), 4096);
    put("NoZeroShort", REG_SZ, unterminated.data(), 10);
    put("Embedded", REG_SZ, "ab\0cd", 6);
    ::RegCloseKey(key);

    CRegistryStore store;
    EXPECT_FALSE(store.ReadString("AsBinary", 64));
    EXPECT_FALSE(store.ReadString("Expand", 64));
    EXPECT_FALSE(store.ReadDword("AsBinary"));
    EXPECT_FALSE(store.ReadDword("Short"));
    // A text without its zero: exactly the buffer's size cannot be terminated, one byte less
    // can. A zero inside ends the text.
    EXPECT_FALSE(store.ReadString("NoZero", 4096));
    EXPECT_EQ(store.ReadString("NoZeroShort", 4096).value_or("?"), std::string(10, 'u'));
    EXPECT_EQ(store.ReadString("Embedded", 4096).value_or("?"), "ab");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ZezirivRegistryKey);
}

// A write the registry refuses says so: here a value name past the registry's limit.
TEST(RegistryStoreTest, WritesTellWhetherTheValueWasStored) {
    CRegistryStore store;
    EXPECT_TRUE(store.WriteString("Stored", "yes"));
    EXPECT_TRUE(store.WriteDword("StoredNumber", 7));
    const std::string tooLong(20000, 'n');
    EXPECT_FALSE(store.WriteString(tooLong.c_str(), "no"));
    EXPECT_FALSE(store.WriteDword(tooLong.c_str(), 7));
    EXPECT_EQ(store.ReadString("Stored", 64).value_or("?"), "yes");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ZezirivRegistryKey);
}

} // namespace
