#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/filter/image_quality.h"
#include "filter_files.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

using namespace filter_files;

namespace {

using Names = std::vector<std::string>;

TEST(FilterManagerTest, DirectoryWithoutFilterFilesGivesFalse) {
    ScratchDir dir;
    CFilterManager manager;
    EXPECT_FALSE(manager.LoadFilterDirectory(dir.Path() + "/missing"));
    EXPECT_FALSE(manager.LoadFilterDirectory(dir.Sub("empty")));
    const std::string other = dir.Sub("other");
    ScratchDir::WriteFile(other + "/a.txt", ColorMapFile("a", "A"));
    ScratchDir::WriteFile(other + "/b.xmlx", ColorMapFile("b", "B"));
    ScratchDir::WriteFile(other + "/c.xml.bak", ColorMapFile("c", "C"));
    EXPECT_FALSE(manager.LoadFilterDirectory(other));
    // A bad file still counts as an entry; it is skipped.
    const std::string bad = dir.Sub("bad");
    ScratchDir::WriteFile(bad + "/bad.xml", "<nope/>");
    EXPECT_TRUE(manager.LoadFilterDirectory(bad));
    EXPECT_EQ(manager.GetFilterCount(), 1);
}

TEST(FilterManagerTest, FilesAreTakenInNameOrderAndFirstIDWins) {
    ScratchDir dir;
    const std::string priv = dir.Sub("private");
    const std::string sys = dir.Sub("system");
    ScratchDir::WriteFile(priv + "/b.XML", ColorMapFile("Protanopia", "private b"));
    ScratchDir::WriteFile(priv + "/c.xml", ColorMapFile("PROTANOPIA", "private c"));
    ScratchDir::WriteFile(priv + "/a.xml", ColorMapFile("hue", "private a"));
    ScratchDir::WriteFile(sys + "/a.xml", ColorMapFile("protanopia", "system"));
    ScratchDir::WriteFile(sys + "/d.xml", ColorMapFile("deutanopia", "system d"));
    CFilterManager manager;
    ASSERT_TRUE(manager.LoadFilterDirectory(priv));
    ASSERT_TRUE(manager.LoadFilterDirectory(sys));
    EXPECT_EQ(IDs(manager.GetAllFilters()), (Names{"_normal", "hue", "Protanopia", "deutanopia"}));
    EXPECT_EQ(manager.FindFilter("protanopia")->GetDisplayName(), "private b");
}

TEST(FilterManagerTest, FirstNormalFileNamesTheBuiltInFilter) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files; // file name, display name
        const char* expected;
    } cases[] = {
        {"first renames", {{"a.xml", "Normal vision"}, {"b.xml", "Second"}}, "Normal vision"},
        {"normal keeps the way open", {{"a.xml", "normal"}, {"b.xml", "Second"}}, "Second"},
        {"case of the name matters", {{"a.xml", "Normal"}, {"b.xml", "Second"}}, "Normal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        for (const auto& [file, name] : c.files) {
            dir.Write(file, ColorMapFile(file[0] == 'a' ? "_NORMAL" : "_normal", name));
        }
        CFilterManager manager;
        ASSERT_TRUE(manager.LoadFilterDirectory(dir.Path()));
        EXPECT_EQ(manager.GetFilterCount(), 1);
        EXPECT_EQ(manager.GetNormalFilter()->GetDisplayName(), c.expected);
        EXPECT_TRUE(manager.GetNormalFilter()->IsIdentity());
    }
}

TEST(FilterManagerTest, ReferenceFiltersResolveAgainstWhatIsLoadedBeforeThem) {
    ScratchDir dir;
    const std::string priv = dir.Sub("private");
    const std::string sys = dir.Sub("system");
    ScratchDir::WriteFile(priv + "/p.xml", ColorMapFile("priv_only", "P"));
    ScratchDir::WriteFile(priv + "/a_ref.xml",
                          ReferenceFile("needs_system", "x", {{"sys_only", 100}}));
    ScratchDir::WriteFile(sys + "/s.xml", ColorMapFile("sys_only", "S"));
    // Listed before the colour maps of its directory, resolved after them.
    ScratchDir::WriteFile(sys + "/0_ref.xml",
                          ReferenceFile("mixed", "M", {{"PRIV_ONLY", 100}, {"sys_only", 200}}));
    // Names a reference filter of this directory read before it: refused as a member.
    ScratchDir::WriteFile(sys + "/1_ref.xml", ReferenceFile("nested", "N", {{"mixed", 100}}));
    ScratchDir::WriteFile(sys + "/2_ref.xml", ReferenceFile("unknown", "U", {{"nowhere", 100}}));
    // A reference filter whose ID a colour map already holds is dropped.
    ScratchDir::WriteFile(sys + "/3_ref.xml", ReferenceFile("S_ONLY", "dup", {{"_normal", 1}}));
    ScratchDir::WriteFile(sys + "/s_only.xml", ColorMapFile("s_only", "colour"));
    ScratchDir::WriteFile(sys + "/4_ref.xml", ReferenceFile("empty", "E", {}));

    CFilterManager manager;
    ASSERT_TRUE(manager.LoadFilterDirectory(priv));
    ASSERT_TRUE(manager.LoadFilterDirectory(sys));
    EXPECT_EQ(IDs(manager.GetAllFilters()),
              (Names{"_normal", "priv_only", "sys_only", "s_only", "mixed", "empty"}));
    const CFilter* mixed = manager.FindFilter("mixed");
    ASSERT_NE(mixed, nullptr);
    EXPECT_EQ(Members(*mixed), (Names{"PRIV_ONLY:100>priv_only", "sys_only:200>sys_only"}));
}

TEST(FilterManagerTest, StartsWithNormalAloneAndHoldsAtMost512Filters) {
    CFilterManager manager;
    EXPECT_EQ(IDs(manager.GetAllFilters()), Names{"_normal"});
    EXPECT_EQ(manager.GetFilter(1), nullptr);
    EXPECT_EQ(manager.GetFilter(-1), nullptr);
    EXPECT_EQ(manager.GetEnabledFilter(0), nullptr);
    EXPECT_FALSE(manager.AddFilter(nullptr));
    for (int i = 1; i < 511; ++i) {
        ASSERT_NE(AddColorMap(manager, "f" + std::to_string(i)), nullptr);
    }
    EXPECT_EQ(AddColorMap(manager, "F1"), nullptr) << "a taken ID, in another case";
    ASSERT_EQ(manager.GetFilterCount(), 511);

    // One place left: the first file by name takes it, the rest are discarded.
    ScratchDir dir;
    dir.Write("a.xml", ColorMapFile("last", "L"));
    dir.Write("b.xml", ColorMapFile("over", "O"));
    dir.Write("c.xml", ReferenceFile("over_ref", "R", {{"last", 1}}));
    ASSERT_TRUE(manager.LoadFilterDirectory(dir.Path()));
    EXPECT_EQ(manager.GetFilterCount(), CFilterManager::kMaxFilters);
    EXPECT_NE(manager.FindFilter("last"), nullptr);
    EXPECT_EQ(manager.FindFilter("over"), nullptr);
    EXPECT_EQ(manager.FindFilter("over_ref"), nullptr);
}

class EnabledListTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir.Write("p.xml", ColorMapFile("protanopia", "P"));
        m_dir.Write("d.xml", ColorMapFile("deutanopia", "D"));
        m_dir.Write("h.xml", ColorMapFile("hue_gbr", "H", "Visible=\"no\""));
        m_dir.Write("t.xml", ColorMapFile("tritanoptia", "T"));
        m_dir.Write("r.xml", ReferenceFile("cycle", "C", {{"hue_gbr", 100}, {"deutanopia", 100}}));
        ASSERT_TRUE(m_manager.LoadFilterDirectory(m_dir.Path()));
    }
    Names Enabled() {
        Names ids;
        m_manager.GetEnabledIDs(ids);
        return ids;
    }

    ScratchDir m_dir;
    CFilterManager m_manager;
};

TEST_F(EnabledListTest, SetEnabledFiltersTakesLoadedVisibleIDsOnce) {
    struct Case {
        const char* name;
        Names stored;
        Names enabled;
    } cases[] = {
        {"default list",
         {"_normal", "protanopia", "deutanopia", "tritanoptia", "hue_gbr", "hue_brg"},
         {"_normal", "protanopia", "deutanopia", "tritanoptia"}},
        {"empty list", {}, {"_normal"}},
        {"normal goes last unless placed",
         {"cycle", "Protanopia", "PROTANOPIA", "protanopia", "nothing", ""},
         {"cycle", "protanopia", "_normal"}},
        {"normal where stored",
         {"tritanoptia", "_NORMAL", "deutanopia"},
         {"tritanoptia", "_normal", "deutanopia"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_manager.GetEnabledList().clear();
        m_manager.SetEnabledFilters(c.stored);
        EXPECT_EQ(Enabled(), c.enabled);
    }
}

TEST_F(EnabledListTest, EnabledListQueries) {
    m_manager.SetEnabledFilters({"deutanopia", "cycle"});
    CFilter* deut = m_manager.FindFilter("deutanopia");
    EXPECT_EQ(m_manager.FindEnabled("DEUTANOPIA"), deut);
    EXPECT_EQ(m_manager.FindEnabled("protanopia"), nullptr);
    EXPECT_EQ(m_manager.GetEnabledIndex(m_manager.GetNormalFilter()), 2);
    EXPECT_EQ(m_manager.GetEnabledIndex(m_manager.FindFilter("protanopia")), -1);
    EXPECT_EQ(m_manager.GetEnabledIndex(nullptr), -1);
    Names ids{"stale"};
    m_manager.GetEnabledIDs(ids);
    EXPECT_EQ(ids, (Names{"deutanopia", "cycle", "_normal"}));
}

TEST_F(EnabledListTest, PrepareTablesEquipsExactlyTheFiltersInUse) {
    m_manager.SetImageQuality(CImageQuality(1));
    auto inUse = [this]() {
        Names ids;
        for (const CFilter* filter : m_manager.GetAllFilters()) {
            EXPECT_EQ(filter->IsInUse(), filter->GetTable() != nullptr) << filter->GetID();
            if (filter->IsInUse()) {
                ids.push_back(filter->GetID());
            }
        }
        return ids;
    };
    // The invisible hue_gbr is never enabled itself but is in use as a member of cycle.
    m_manager.SetEnabledFilters({"protanopia", "cycle"});
    EXPECT_TRUE(m_manager.PrepareTables());
    EXPECT_EQ(inUse(), (Names{"_normal", "deutanopia", "hue_gbr", "protanopia"}));
    EXPECT_EQ(m_manager.FindFilter("cycle")->GetTable(), nullptr);
    const ColorValue* kept = m_manager.FindFilter("deutanopia")->GetTable();

    m_manager.GetEnabledList().clear();
    m_manager.SetEnabledFilters({"tritanoptia", "deutanopia"});
    EXPECT_TRUE(m_manager.PrepareTables());
    EXPECT_EQ(inUse(), (Names{"_normal", "deutanopia", "tritanoptia"}));
    EXPECT_EQ(m_manager.FindFilter("deutanopia")->GetTable(), kept);
}

} // namespace
