#include "authoring/shipped_filters.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_files.h"
#include "engine/filter/filter_manager.h"
#include "engine/filter/filter_reader.h"
#include "engine/filter/image_quality.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace filter_files;

namespace {

const std::string kShippedDir = ZEZIRIV_FILTER_DATA_DIR;

// Every file the program ships is read completely, under the name and ID it was generated
// with, and no stray file sits beside them.
TEST(ShippedFilters, EveryFilePassesTheReader) {
    std::set<std::string> expected;
    for (const ShippedFilterSpec& s : ShippedColorMapFilters()) {
        expected.insert(s.id + ".xml");
    }
    expected.insert(ShippedReferenceFilter().id + ".xml");
    for (const ShippedLanguage& language : ShippedLanguages()) {
        expected.insert(std::to_string(language.languageId)); // its folder
    }

    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(kShippedDir)) {
        found.insert(entry.path().filename().string());
    }
    EXPECT_EQ(found, expected);

    for (const ShippedFilterSpec& s : ShippedColorMapFilters()) {
        CFilter filter;
        std::string message;
        ASSERT_TRUE(LoadFilterFile(filter, kShippedDir + "/" + s.id + ".xml", &message))
            << s.id << ": " << message;
        EXPECT_EQ(filter.GetID(), s.id);
        EXPECT_EQ(filter.GetDisplayName(), s.displayName);
        EXPECT_TRUE(filter.IsColorMapFilter());
        EXPECT_TRUE(filter.IsVisible());
    }
    const ShippedReferenceSpec& ref = ShippedReferenceFilter();
    CFilter filter;
    std::string message;
    ASSERT_TRUE(LoadFilterFile(filter, kShippedDir + "/" + ref.id + ".xml", &message)) << message;
    EXPECT_TRUE(filter.IsReferenceFilter());
    EXPECT_EQ(filter.GetRepeat(), ref.repeat);
    std::vector<std::string> members;
    for (const FilterMember& member : ref.members) {
        members.push_back(member.id + ":" + std::to_string(member.timeout));
    }
    EXPECT_EQ(Members(filter), members);
}

// The directory loaded with the default enabled list is read end to end: the portable zip's and
// the Japanese program's quick view menus list the default filters, the Japanese filter setting
// dialog the rest. How the list is taken is the manager's enabled list test.

// A UTF-8 name as the reader gives it: the system code page's form on Windows (the XML
// document hands out UTF-16), the bytes themselves natively.
std::string AsReaderGivesIt(const std::string& utf8) {
#ifdef _WIN32
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), size)));
    std::string narrow(wide.size() * 2, '\0');
    narrow.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                            static_cast<int>(narrow.size()), nullptr, nullptr)));
    return narrow;
#else
    return utf8;
#endif
}

// Loaded as start-up loads them, language folder first: the same filters with the same
// colours, every name (the built-in identity filter's included) in the language.
TEST(ShippedFilters, TheLanguageFolderRenamesEveryFilterAndKeepsItsColours) {
    CFilterManager general;
    ASSERT_TRUE(general.LoadFilterDirectory(kShippedDir));
    for (const ShippedLanguage& language : ShippedLanguages()) {
        SCOPED_TRACE(language.languageId);
        CFilterManager manager;
        ASSERT_TRUE(
            manager.LoadFilterDirectory(kShippedDir + "/" + std::to_string(language.languageId)));
        ASSERT_TRUE(manager.LoadFilterDirectory(kShippedDir));
        ASSERT_EQ(manager.GetFilterCount(), general.GetFilterCount());
        std::set<std::string> translated; // every filter once: none left in English
        for (const ShippedTranslation& t : language.names) {
            translated.insert(t.id);
            const CFilter* filter = manager.FindFilter(t.id);
            const CFilter* english = general.FindFilter(t.id);
            ASSERT_NE(filter, nullptr) << t.id;
            ASSERT_NE(english, nullptr) << t.id;
            EXPECT_EQ(filter->GetDisplayName(), AsReaderGivesIt(t.displayName)) << t.id;
            EXPECT_EQ(filter->IsReferenceFilter(), english->IsReferenceFilter()) << t.id;
            EXPECT_EQ(filter->GetRefCount(), english->GetRefCount()) << t.id;
            EXPECT_EQ(filter->GetRepeat(), english->GetRepeat()) << t.id;
            if (t.id != kNormalFilterId && filter->IsColorMapFilter()) {
                EXPECT_EQ(filter->GetColorMap(), english->GetColorMap()) << t.id;
            }
        }
        EXPECT_EQ(translated.size(), static_cast<std::size_t>(general.GetFilterCount()));
        manager.SetEnabledFilters({ShippedReferenceFilter().id});
        EXPECT_EQ(IDs(manager.GetEnabledList()),
                  (std::vector<std::string>{ShippedReferenceFilter().id, "_normal"}))
            << "the translated cycle resolves in its own folder";
    }
}

} // namespace
