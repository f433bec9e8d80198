// Text paths of the program on a Japanese system (code page 932), inside this process: filter
// files written in UTF-8 reach the program as whole double-byte characters, and a message at the
// length limit is never cut inside a character. (The library's strings formatted and joined
// are read end to end: its hot key message, the longest colour name in the status bar; that
// every string is there with the program's printf conversions is the language resource test.)
#include "e2e_support.h"
#include "japanese_text.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_files.h"
#include "engine/filter/filter_reader.h"
#include "platform/utilities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using japanese_text::J;

namespace {

// Whether the text walks as whole characters of code page 932 to its very end.
bool EndsOnACharacterBoundary(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        i += IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) ? 2 : 1;
    }
    return i == text.size();
}

std::string FilterFile(const std::string& encoding, const std::string& displayName) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"" + encoding +
                      "\"?>\n<ZezirivFilter Version=\"1.0\">\n<Profile ID=\"j\" DisplayName=\"" +
                      displayName + "\"/>\n<ColorMap>\n";
    for (int i = 0; i < 216; ++i) {
        xml += "<Color RGB=\"#000000\"/>\n";
    }
    return xml + "</ColorMap>\n</ZezirivFilter>\n";
}

class JapaneseTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the test prefix must run in a Japanese locale";
        SetMessageBoxHookForTesting([this](const char* text, const char* caption, UINT) {
            shown.push_back(std::string(caption) + "|" + text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHookForTesting({}); }

    std::vector<std::string> shown;
};

} // namespace

// The 40-byte limit of a display name counts code page 932 bytes, whatever the file's own
// encoding; "表" and "ソ" carry a backslash as their trail byte.
TEST_F(JapaneseTextTest, DisplayNameLimitCountsTheSystemCodePage) {
    std::string twenty;
    for (int i = 0; i < 10; ++i) {
        twenty += "表ソ";
    }
    struct Case {
        const char* encoding;
        std::string name; // UTF-8
        bool loads;
    };
    const Case cases[] = {
        {"UTF-8", twenty, true},        // 60 bytes in UTF-8, 40 here
        {"UTF-8", twenty + "a", false}, // 41 here
        {"UTF-8", "1型2色覚", true},    // ASCII digits between kanji
        {"UTF-16", "通常の色覚", true}, // the declared encoding is the parser's business
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding + std::string(" ") + c.name);
        std::string bytes = FilterFile(c.encoding, c.name);
        if (std::string(c.encoding) == "UTF-16") {
            const std::string utf8 = bytes;
            std::wstring wide(utf8.size(), L'\0');
            wide.resize(static_cast<std::size_t>(
                MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    wide.data(), static_cast<int>(wide.size()))));
            bytes = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()),
                                             wide.size() * sizeof(wchar_t));
        }
        const std::string path = e2e::WriteScratchFile("japanese_name.xml", bytes);
        CFilter filter;
        std::string message;
        EXPECT_EQ(LoadFilterFile(filter, path, &message), c.loads) << message;
        if (c.loads) {
            EXPECT_EQ(filter.GetDisplayName(), J(c.name));
        }
        DeleteFileA(path.c_str());
    }
}

TEST_F(JapaneseTextTest, MessagesAreCutAt511BytesBetweenCharacters) {
    std::string kanji;
    for (int i = 0; i < 300; ++i) {
        kanji += J("表");
    }
    struct Case {
        const char* prefix;
        std::size_t expectedLength;
    };
    // One ASCII byte before: the 255th kanji ends at byte 511. Two: it would end at 512 and
    // goes whole.
    const Case cases[] = {{"a", 511}, {"ab", 510}, {"", 510}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        shown.clear();
        ShowMessage(MB_OK, "%s%s", c.prefix, kanji.c_str());
        ASSERT_EQ(shown.size(), 1u);
        const std::string text = shown[0].substr(shown[0].find('|') + 1);
        EXPECT_EQ(text.size(), c.expectedLength);
        EXPECT_TRUE(EndsOnACharacterBoundary(text));
        EXPECT_EQ(text.substr(text.size() - 2), J("表"));
    }
}
