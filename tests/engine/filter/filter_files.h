#pragma once

// Small filter files written into a scratch directory, for the reader and manager tests.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <objbase.h>
#endif

namespace filter_files {

// The reader uses MSXML through COM on Windows; the caller owns COM initialisation, which every
// test program that includes this header does once for all its tests.
class ComEnvironment : public testing::Environment {
public:
    void SetUp() override {
#ifdef _WIN32
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
#endif
    }
    void TearDown() override {
#ifdef _WIN32
        CoUninitialize();
#endif
    }
};
inline testing::Environment* const kComEnvironment =
    testing::AddGlobalTestEnvironment(new ComEnvironment);

// A directory of its own, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("zeziriv_filter_" + std::to_string(stamp) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string Path() const { return m_path.string(); }
    std::string Sub(const std::string& name) const {
        std::filesystem::create_directories(m_path / name);
        return (m_path / name).string();
    }
    std::string Write(const std::string& name, const std::string& content) const {
        return WriteFile((m_path / name).string(), content);
    }
    static std::string WriteFile(const std::string& path, const std::string& content) {
        std::ofstream out(path, std::ios::binary);
        out << content;
        return path;
    }

private:
    std::filesystem::path m_path;
};

inline std::string Hex(unsigned r, unsigned g, unsigned b) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", r & 0xFF, g & 0xFF, b & 0xFF);
    return text;
}

// count Color elements; element i is the grey level i (so positions can be checked).
inline std::string Colors(int count) {
    std::string xml;
    for (int i = 0; i < count; ++i) {
        xml += "<Color RGB=\"" + Hex(i, i, i) + "\"/>\n";
    }
    return xml;
}

inline std::string Root(const std::string& body, const std::string& version = "1.0") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZezirivFilter Version=\"" + version +
           "\">\n" + body + "</ZezirivFilter>\n";
}

inline std::string Profile(const std::string& id, const std::string& name,
                           const std::string& extra = "") {
    return "<Profile ID=\"" + id + "\" DisplayName=\"" + name + "\"" +
           (extra.empty() ? "" : " " + extra) + "/>\n";
}

inline std::string ColorMapFile(const std::string& id, const std::string& name,
                                const std::string& extra = "") {
    return Root(Profile(id, name, extra) + "<ColorMap>\n" + Colors(216) + "</ColorMap>\n");
}

// members: (ID, timeout) written in order.
inline std::string ReferenceFile(const std::string& id, const std::string& name,
                                 std::initializer_list<std::pair<const char*, int>> members,
                                 const std::string& extra = "") {
    std::string list;
    for (const auto& [member, timeout] : members) {
        list += "<Filter ID=\"" + std::string(member) + "\" Timeout=\"" + std::to_string(timeout) +
                "\"/>\n";
    }
    return Root(Profile(id, name, "Type=\"reference\"" + (extra.empty() ? "" : " " + extra)) +
                "<FilterList>\n" + list + "</FilterList>\n");
}

} // namespace filter_files
