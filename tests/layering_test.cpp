// The source tree keeps its layers: no file includes one of a higher layer, no feature includes
// another feature, the folders of a layer do not depend on each other in a circle, and no two
// modules (a header with its sources) include each other, directly or around a longer circle.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Higher numbers sit on lower ones. The authoring library stands beside the features: it uses
// the engine, and nothing of the program uses it.
int LayerOf(const std::string& folder) {
    static const std::vector<std::pair<std::string, int>> layers = {
        {"platform", 0}, {"engine", 1}, {"features", 2}, {"authoring", 2}, {"app", 3}};
    const std::string top = folder.substr(0, folder.find('/'));
    for (const auto& [name, layer] : layers) {
        if (name == top) {
            return layer;
        }
    }
    return -1;
}

struct SourceFile {
    std::string path;   // relative to src, with forward slashes
    std::string folder; // "engine/filter", "features/views", "app", ...
    std::string module; // the path without its extension
    std::vector<std::string> includes;
};

SourceFile MakeFile(const std::string& path, std::vector<std::string> includes) {
    return {path, fs::path(path).parent_path().generic_string(),
            fs::path(path).replace_extension().generic_string(), std::move(includes)};
}

std::vector<SourceFile> ReadTree(const fs::path& root) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<SourceFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) {
            continue;
        }
        std::vector<std::string> includes;
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (std::regex_search(line, match, include)) {
                includes.push_back(match[1]);
            }
        }
        files.push_back(MakeFile(fs::relative(entry.path(), root).generic_string(), includes));
    }
    return files;
}

// What the layering forbids: an include of a higher layer, of another feature, of an unknown
// folder (a new top-level folder must be given its layer above), and folders or modules in a
// circle.
std::vector<std::string> FindViolations(const std::vector<SourceFile>& files) {
    std::set<std::string> known;
    for (const SourceFile& file : files) {
        known.insert(file.path);
    }
    std::vector<std::string> violations;
    std::map<std::string, std::set<std::string>> folderEdges;
    std::map<std::string, std::set<std::string>> moduleEdges;
    for (const SourceFile& file : files) {
        const int layer = LayerOf(file.folder);
        if (layer < 0) {
            violations.push_back(file.path + " lies in a folder of no layer");
            continue;
        }
        for (const std::string& target : file.includes) {
            if (known.count(target) == 0) {
                continue; // resource.h, generated headers and the platform's own
            }
            const std::string folder = fs::path(target).parent_path().generic_string();
            const std::string module = fs::path(target).replace_extension().generic_string();
            if (LayerOf(folder) > layer) {
                violations.push_back(file.path + " includes " + target + " of a higher layer");
            }
            const bool bothFeatures =
                file.folder.rfind("features/", 0) == 0 && folder.rfind("features/", 0) == 0;
            if (bothFeatures && folder != file.folder) {
                violations.push_back(file.path + " includes " + target + " of another feature");
            }
            if (folder != file.folder) {
                folderEdges[file.folder].insert(folder);
            }
            if (module != file.module) {
                moduleEdges[file.module].insert(module);
            }
        }
    }

    // Depth-first search for a circle in each graph; each circle is told once.
    const auto findCircles = [&](const std::map<std::string, std::set<std::string>>& edges,
                                 const std::string& kind) {
        std::map<std::string, int> state; // 1 on the path, 2 finished
        std::vector<std::string> path;
        std::function<void(const std::string&)> visit = [&](const std::string& node) {
            state[node] = 1;
            path.push_back(node);
            const auto found = edges.find(node);
            if (found != edges.end()) {
                for (const std::string& next : found->second) {
                    if (state[next] == 1) {
                        std::string circle = kind + " circle:";
                        for (auto it = std::find(path.begin(), path.end(), next); it != path.end();
                             ++it) {
                            circle += " " + *it + " ->";
                        }
                        violations.push_back(circle + " " + next);
                    } else if (state[next] == 0) {
                        visit(next);
                    }
                }
            }
            path.pop_back();
            state[node] = 2;
        };
        for (const auto& [node, targets] : edges) {
            if (state[node] == 0) {
                visit(node);
            }
        }
    };
    findCircles(folderEdges, "folder");
    findCircles(moduleEdges, "module");
    return violations;
}

TEST(LayeringTest, SourceTreeKeepsItsLayers) {
    const std::vector<SourceFile> files = ReadTree(fs::path(ZEZIRIV_SOURCE_DIR) / "src");
    ASSERT_GT(files.size(), 100u);
    for (const std::string& violation : FindViolations(files)) {
        ADD_FAILURE() << violation;
    }
}

// The check itself, over a small made-up tree (the real one shows what it lets pass).
TEST(LayeringTest, FindsUpwardIncludesFeatureToFeatureAndCircles) {
    const std::vector<SourceFile> faulty = {
        MakeFile("platform/a.h", {"engine/filter/b.h"}),
        MakeFile("engine/filter/b.h", {"platform/a.h", "resource.h"}),
        MakeFile("features/views/c.cpp", {"features/dialogs/e.h", "features/messages.h"}),
        MakeFile("features/dialogs/e.h", {}),
        MakeFile("features/messages.h", {}),
        MakeFile("engine/image/f.cpp", {"engine/image/g.h"}),
        MakeFile("engine/image/f.h", {}),
        MakeFile("engine/image/g.cpp", {"engine/image/f.h"}),
        MakeFile("engine/image/g.h", {}),
        MakeFile("misc/h.cpp", {}),
    };
    EXPECT_EQ(FindViolations(faulty),
              (std::vector<std::string>{
                  "platform/a.h includes engine/filter/b.h of a higher layer",
                  "features/views/c.cpp includes features/dialogs/e.h of another feature",
                  "misc/h.cpp lies in a folder of no layer",
                  "folder circle: engine/filter -> platform -> engine/filter",
                  "module circle: engine/filter/b -> platform/a -> engine/filter/b",
                  "module circle: engine/image/f -> engine/image/g -> engine/image/f"}));
}

} // namespace
