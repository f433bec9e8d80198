#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"
#include "filter_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

using namespace filter_files;

namespace {

testing::Environment* const kCom = testing::AddGlobalTestEnvironment(new ComEnvironment);

// The reader's message for a defect: "error: Filter(<line>): 6: <text>".
void ExpectRefused(const std::string& path, const std::string& text) {
    CFilter filter;
    std::string message;
    EXPECT_FALSE(LoadFilterFile(filter, path, &message)) << path;
    EXPECT_EQ(message.rfind("error: Filter(", 0), 0u) << message;
    const std::string tail = "): 6: " + text;
    ASSERT_GE(message.size(), tail.size()) << message;
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail) << message;
}

struct FileCase {
    const char* name;
    std::string content;
    const char* message; // null: the file loads
};

const std::string kColorMap = "<ColorMap>" + Colors(216) + "</ColorMap>";

std::vector<FileCase> DefectCases() {
    const std::string good = Profile("f", "F");
    return {
        {"not well-formed", "<ZezirivFilter Version=\"1.0\"><Profile", "xml parse error."},
        {"empty file", "", "xml parse error."},
        {"no root", "<?xml version=\"1.0\"?>\n", "xml parse error."},
        {"bad root", "<zezirivFilter Version=\"1.0\"/>", "bad filter format. (bad root tag.)"},
        {"no version", "<ZezirivFilter>" + good + kColorMap + "</ZezirivFilter>",
         "bad filter format. (Version attribute not found.)"},
        {"version 1.00", Root(good + kColorMap, "1.00"),
         "bad filter format. (bad filter version.)"},
        {"version blank", Root(good + kColorMap, " 1.0"),
         "bad filter format. (bad filter version.)"},
        {"no profile", Root(kColorMap), "bad filter format. (Profile rag not found.)"},
        {"profile nested", Root("<X>" + good + "</X>" + kColorMap),
         "bad filter format. (Profile rag not found.)"},
        {"no ID", Root("<Profile DisplayName=\"F\"/>" + kColorMap),
         "bad filter format. (ID attribute not found.)"},
        {"empty ID", Root(Profile("", "F") + kColorMap), "bad filter format. (filter ID is bad.)"},
        {"41-character ID", Root(Profile(std::string(41, 'a'), "F") + kColorMap),
         "bad filter format. (filter ID is bad.)"},
        {"ID with hyphen", Root(Profile("a-b", "F") + kColorMap),
         "bad filter format. (filter ID is bad.)"},
        {"ID with blank", Root(Profile("a b", "F") + kColorMap),
         "bad filter format. (filter ID is bad.)"},
        {"ID with non-ASCII letter", Root(Profile("caf\xc3\xa9", "F") + kColorMap),
         "bad filter format. (filter ID is bad.)"},
        {"no display name", Root("<Profile ID=\"f\"/>" + kColorMap),
         "bad filter format. (DisplayName attribute not found.)"},
        {"empty display name", Root(Profile("f", "") + kColorMap),
         "bad filter format. (filter DisplayName is bad.)"},
        {"41-byte display name", Root(Profile("f", std::string(41, 'n')) + kColorMap),
         "bad filter format. (filter DisplayName is bad.)"},
        {"no colour map", Root(good), "bad filter format. (ColorMap tag not found.)"},
        {"type in other case", Root(Profile("f", "F", "Type=\"Reference\"") + "<FilterList/>"),
         "bad filter format. (ColorMap tag not found.)"},
        {"colour element in other case",
         Root(good + "<ColorMap>" + Colors(10) + "<color RGB=\"#000000\"/></ColorMap>"),
         "bad filter format. (not Color tag as ColorMap child.)"},
        {"no RGB", Root(good + "<ColorMap>" + Colors(10) + "<Color/></ColorMap>"),
         "bad filter format. (RGB attribute not found.)"},
        {"RGB without #", Root(good + "<ColorMap><Color RGB=\"ff0000\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"RGB of five digits", Root(good + "<ColorMap><Color RGB=\"#ff000\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"RGB of seven digits", Root(good + "<ColorMap><Color RGB=\"#ff00000\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"RGB not hexadecimal", Root(good + "<ColorMap><Color RGB=\"#ff00g0\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"RGB with a sign", Root(good + "<ColorMap><Color RGB=\"#+f8000\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"RGB with a blank", Root(good + "<ColorMap><Color RGB=\"#ff80 0\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"RGB with another mark", Root(good + "<ColorMap><Color RGB=\"$ff8000\"/></ColorMap>"),
         "bad filter format. (RGB attribute is bad.)"},
        {"ID with a dot", Root(Profile("a.b", "F") + kColorMap),
         "bad filter format. (filter ID is bad.)"},
        {"215 colours", Root(good + "<ColorMap>" + Colors(215) + "</ColorMap>"),
         "bad filter format. (number of Color tag is not 216.)"},
        {"217 colours", Root(good + "<ColorMap>" + Colors(217) + "</ColorMap>"),
         "bad filter format. (number of Color tag is not 216.)"},
        {"no filter list", Root(Profile("r", "R", "Type=\"reference\"") + kColorMap),
         "bad filter format. (FilterList tag not found.)"},
        {"other element in filter list",
         Root(Profile("r", "R", "Type=\"reference\"") +
              "<FilterList><Filter ID=\"a\" Timeout=\"1\"/><Color/></FilterList>"),
         "bad filter format. (not Filter tag as FilterList child.)"},
        {"member without ID",
         Root(Profile("r", "R", "Type=\"reference\"") + "<FilterList><Filter Timeout=\"1\"/>"
                                                        "</FilterList>"),
         "bad filter format. (ID attribute not found.)"},
        {"member without timeout",
         Root(Profile("r", "R", "Type=\"reference\"") + "<FilterList><Filter ID=\"a\"/>"
                                                        "</FilterList>"),
         "bad filter format. (Timeout attribute not found.)"},
        // A file never reaches outside itself: no DTD, so no external or expanding entity.
        {"external entity",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE ZezirivFilter [<!ENTITY x SYSTEM "
         "\"file:///etc/hostname\">]>\n<ZezirivFilter Version=\"1.0\">" +
             Profile("f", "&x;") + kColorMap + "</ZezirivFilter>",
         "xml parse error."},
        {"external DTD",
         "<!DOCTYPE ZezirivFilter SYSTEM \"http://127.0.0.1:9/filter.dtd\">\n"
         "<ZezirivFilter Version=\"1.0\">" +
             good + kColorMap + "</ZezirivFilter>",
         "xml parse error."},
    };
}

TEST(FilterReaderTest, EachDefectIsRefusedWithItsMessage) {
    ScratchDir dir;
    int i = 0;
    for (const FileCase& c : DefectCases()) {
        SCOPED_TRACE(c.name);
        ExpectRefused(dir.Write("case" + std::to_string(i++) + ".xml", c.content), c.message);
    }
}

TEST(FilterReaderTest, MissingFileAndDirectoryAreNotFound) {
    ScratchDir dir;
    ExpectRefused(dir.Path() + "/absent.xml", "file not found.");
    ExpectRefused(dir.Sub("folder.xml"), "file not found.");
}

TEST(FilterReaderTest, EntityExpansionBombIsRefusedQuickly) {
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE ZezirivFilter [\n<!ENTITY a0 "
                       "\"0123456789\">\n";
    for (int i = 1; i < 12; ++i) {
        const std::string prev = "&a" + std::to_string(i - 1) + ";";
        bomb += "<!ENTITY a" + std::to_string(i) + " \"" + prev + prev + prev + prev + prev + prev +
                prev + prev + prev + prev + "\">\n";
    }
    bomb += "]>\n<ZezirivFilter Version=\"1.0\"><Profile ID=\"f\" DisplayName=\"&a11;\"/>" +
            kColorMap + "</ZezirivFilter>";
    ScratchDir dir;
    const auto start = std::chrono::steady_clock::now();
    ExpectRefused(dir.Write("bomb.xml", bomb), "xml parse error.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    // The same in UTF-16 with a byte-order mark: no 8-bit "<!DOCTYPE" in the bytes.
    std::string wide = "\xFF\xFE";
    std::string text = bomb;
    text.replace(0, text.find('\n'), "<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
    for (char c : text) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    const auto wideStart = std::chrono::steady_clock::now();
    ExpectRefused(dir.Write("bomb16.xml", wide), "xml parse error.");
    EXPECT_LT(std::chrono::steady_clock::now() - wideStart, std::chrono::seconds(10));
}

TEST(FilterReaderTest, ColorMapFileFillsTheFilter) {
    ScratchDir dir;
    // Upper-case digits, and a comment, blank text and a processing instruction between the
    // colours, all skipped.
    std::string colors = Colors(100) + "<!-- half way -->\n  <?note x?>\n" +
                         "<Color RGB=\"#A0B0C0\"/>" + Colors(115);
    const std::string path =
        dir.Write("f.xml", Root(Profile("Prot_an@1", "Prot &amp; co", "Visible=\"No\"") +
                                "<ColorMap>" + colors + "</ColorMap>" +
                                "<FilterList><Bogus/></FilterList>" + "<ColorMap/>"));
    CFilter filter;
    std::string message = "stale";
    ASSERT_TRUE(LoadFilterFile(filter, path, &message));
    EXPECT_EQ(message, "");
    EXPECT_EQ(filter.GetID(), "Prot_an@1");
    EXPECT_EQ(filter.GetDisplayName(), "Prot & co");
    EXPECT_TRUE(filter.IsColorMapFilter());
    EXPECT_TRUE(filter.IsVisible()); // only the exact "no" hides
    EXPECT_EQ(filter.GetRepeat(), 0);
    EXPECT_EQ(filter.GetColorMap()[0], MakeColor(0, 0, 0));
    EXPECT_EQ(filter.GetColorMap()[99], MakeColor(99, 99, 99));
    EXPECT_EQ(filter.GetColorMap()[100], MakeColor(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(filter.GetColorMap()[215], MakeColor(114, 114, 114));
    EXPECT_EQ(filter.GetRefCount(), 0);
}

TEST(FilterReaderTest, ProfileAttributesFollowTheirRules) {
    struct Case {
        const char* extra;
        bool visible;
        int repeat;
    } cases[] = {
        {"", true, 0},
        {"Visible=\"no\"", false, 0},
        {"Visible=\"NO\"", true, 0},
        {"Visible=\"\"", true, 0},
        {"Repeat=\"12abc\"", true, 12},
        {"Repeat=\"-3\"", true, -3},
        {"Repeat=\"x5\"", true, 0},
        {"Repeat=\" 5\"", true, 0},
        {"Repeat=\"99999999999\"", true, INT_MAX},
        {"Repeat=\"-99999999999\"", true, INT_MIN},
        {"Repeat=\"+5\"", true, 0},
        {"Repeat=\"--1\"", true, 0},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extra);
        CFilter filter;
        ASSERT_TRUE(LoadFilterFile(filter, dir.Write("p.xml", ColorMapFile("p", "P", c.extra))));
        EXPECT_EQ(filter.IsVisible(), c.visible);
        EXPECT_EQ(filter.GetRepeat(), c.repeat);
    }
}

TEST(FilterReaderTest, ReferenceFileKeepsMembersInOrder) {
    ScratchDir dir;
    // The ColorMap of a reference file is never looked at, even a broken one.
    const std::string path = dir.Write(
        "r.xml", Root(Profile("cycle", "Cycle", "Type=\"reference\" Repeat=\"2\"") +
                      "<ColorMap><Color RGB=\"bad\"/></ColorMap><FilterList>"
                      "<Filter ID=\"b-not-checked\" Timeout=\"250ms\"/><!-- c -->\n"
                      "<Filter ID=\"A\" Timeout=\"none\"/><Filter ID=\"\" Timeout=\"-7\"/>"
                      "</FilterList><FilterList><Filter ID=\"ignored\" Timeout=\"1\"/>"
                      "</FilterList>"));
    CFilter filter;
    ASSERT_TRUE(LoadFilterFile(filter, path));
    EXPECT_TRUE(filter.IsReferenceFilter());
    EXPECT_EQ(filter.GetRepeat(), 2);
    ASSERT_EQ(filter.GetRefCount(), 3);
    const struct {
        const char* id;
        int timeout;
    } expected[] = {{"b-not-checked", 250}, {"A", 0}, {"", -7}};
    for (int i = 0; i < 3; ++i) {
        CFilterRef ref;
        ASSERT_TRUE(filter.GetRef(i, ref));
        EXPECT_EQ(ref.GetID(), expected[i].id);
        EXPECT_EQ(ref.GetTimeout(), expected[i].timeout);
        EXPECT_EQ(ref.GetFilter(), nullptr);
    }
}

TEST(FilterReaderTest, EmptyFilterListLoadsWithNoMembers) {
    ScratchDir dir;
    CFilter filter;
    ASSERT_TRUE(LoadFilterFile(filter, dir.Write("e.xml", ReferenceFile("e", "E", {}))));
    EXPECT_TRUE(filter.IsReferenceFilter());
    EXPECT_EQ(filter.GetRefCount(), 0);
}

TEST(FilterReaderTest, LimitsAreInclusive) {
    ScratchDir dir;
    CFilter filter;
    ASSERT_TRUE(LoadFilterFile(
        filter, dir.Write("l.xml", ColorMapFile(std::string(40, 'Z'), std::string(40, 'n')))));
    EXPECT_EQ(filter.GetID().size(), 40u);
    EXPECT_EQ(filter.GetDisplayName().size(), 40u);
}

#ifndef _WIN32
// The narrow encoding here is UTF-8, so the 40-byte limit counts two bytes for each "é".
// (On Windows the code page decides; with a single-byte one the same names are 20 and 21
// bytes.)
TEST(FilterReaderTest, DisplayNameLimitCountsNarrowBytes) {
    std::string twenty, twentyOne;
    for (int i = 0; i < 20; ++i) {
        twenty += "\xc3\xa9";
    }
    twentyOne = twenty + "\xc3\xa9";
    ScratchDir dir;
    CFilter filter;
    EXPECT_TRUE(LoadFilterFile(filter, dir.Write("a.xml", ColorMapFile("a", twenty))));
    ExpectRefused(dir.Write("b.xml", ColorMapFile("b", twentyOne)),
                  "bad filter format. (filter DisplayName is bad.)");
}
#endif

} // namespace
