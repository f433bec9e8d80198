#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"
#include "filter_files.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <tuple>
#include <vector>

using namespace filter_files;

namespace {

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

const std::string kColorMap = "<ColorMap>" + Colors(216) + "</ColorMap>";

// (what, file content, the reader's message)
using Defects = std::vector<std::tuple<std::string, std::string, std::string>>;

Defects DefectCases() {
    const std::string good = Profile("f", "F");
    const std::string format = "bad filter format. (";
    const std::string reference = Profile("r", "R", "Type=\"reference\"");
    Defects cases = {
        {"not well-formed", "<ZezirivFilter Version=\"1.0\"><Profile", "xml parse error."},
        {"empty file", "", "xml parse error."},
        {"no root", "<?xml version=\"1.0\"?>\n", "xml parse error."},
        {"bad root", "<zezirivFilter Version=\"1.0\"/>", format + "bad root tag.)"},
        {"no version", "<ZezirivFilter>" + good + kColorMap + "</ZezirivFilter>",
         format + "Version attribute not found.)"},
        {"no profile", Root(kColorMap), format + "Profile rag not found.)"},
        {"profile nested", Root("<X>" + good + "</X>" + kColorMap),
         format + "Profile rag not found.)"},
        {"no ID", Root("<Profile DisplayName=\"F\"/>" + kColorMap),
         format + "ID attribute not found.)"},
        {"no display name", Root("<Profile ID=\"f\"/>" + kColorMap),
         format + "DisplayName attribute not found.)"},
        {"no colour map", Root(good), format + "ColorMap tag not found.)"},
        {"type in other case", Root(Profile("f", "F", "Type=\"Reference\"") + "<FilterList/>"),
         format + "ColorMap tag not found.)"},
        {"colour element in other case",
         Root(good + "<ColorMap>" + Colors(10) + "<color RGB=\"#000000\"/></ColorMap>"),
         format + "not Color tag as ColorMap child.)"},
        {"no RGB", Root(good + "<ColorMap>" + Colors(10) + "<Color/></ColorMap>"),
         format + "RGB attribute not found.)"},
        {"215 colours", Root(good + "<ColorMap>" + Colors(215) + "</ColorMap>"),
         format + "number of Color tag is not 216.)"},
        {"217 colours", Root(good + "<ColorMap>" + Colors(217) + "</ColorMap>"),
         format + "number of Color tag is not 216.)"},
        {"no filter list", Root(reference + kColorMap), format + "FilterList tag not found.)"},
        {"other element in filter list",
         Root(reference + "<FilterList><Filter ID=\"a\" Timeout=\"1\"/><Color/></FilterList>"),
         format + "not Filter tag as FilterList child.)"},
        {"member without ID", Root(reference + "<FilterList><Filter Timeout=\"1\"/></FilterList>"),
         format + "ID attribute not found.)"},
        {"member without timeout", Root(reference + "<FilterList><Filter ID=\"a\"/></FilterList>"),
         format + "Timeout attribute not found.)"},
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
    for (const char* version : {"1.00", " 1.0"}) {
        cases.emplace_back(version, Root(good + kColorMap, version),
                           format + "bad filter version.)");
    }
    // Too long, empty, or with a character outside letters, digits, "_" and "@".
    for (const std::string& id :
         std::vector<std::string>{"", std::string(41, 'a'), "a-b", "a b", "caf\xc3\xa9", "a.b"}) {
        cases.emplace_back("ID " + id, Root(Profile(id, "F") + kColorMap),
                           format + "filter ID is bad.)");
    }
    for (const std::string& name : {std::string(), std::string(41, 'n')}) {
        cases.emplace_back("name " + name, Root(Profile("f", name) + kColorMap),
                           format + "filter DisplayName is bad.)");
    }
    // "#" and six hexadecimal digits, nothing else.
    for (const char* rgb :
         {"ff0000", "#ff000", "#ff00000", "#ff00g0", "#+f8000", "#ff80 0", "$ff8000"}) {
        cases.emplace_back(rgb, Root(good + "<ColorMap><Color RGB=\"" + rgb + "\"/></ColorMap>"),
                           format + "RGB attribute is bad.)");
    }
    return cases;
}

TEST(FilterReaderTest, EachDefectIsRefusedWithItsMessage) {
    ScratchDir dir;
    int i = 0;
    for (const auto& [what, content, message] : DefectCases()) {
        SCOPED_TRACE(what);
        ExpectRefused(dir.Write("case" + std::to_string(i++) + ".xml", content), message);
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
    EXPECT_EQ(Members(filter), (std::vector<std::string>{"b-not-checked:250", "A:0", ":-7"}));
}

TEST(FilterReaderTest, LimitsAreInclusiveAndAnEmptyListLoads) {
    ScratchDir dir;
    CFilter filter;
    ASSERT_TRUE(LoadFilterFile(
        filter, dir.Write("l.xml", ColorMapFile(std::string(40, 'Z'), std::string(40, 'n')))));
    EXPECT_EQ(filter.GetID().size() + filter.GetDisplayName().size(), 80u);
    CFilter empty;
    ASSERT_TRUE(LoadFilterFile(empty, dir.Write("e.xml", ReferenceFile("e", "E", {}))));
    EXPECT_TRUE(empty.IsReferenceFilter());
    EXPECT_EQ(empty.GetRefCount(), 0);
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
