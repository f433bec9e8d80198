#pragma once

#include "engine/filter/filter_manager.h"

#include <memory>
#include <string>
#include <vector>

class CFilter;

// The filters a command can name, found the way the program finds them: the --filter-dir
// folders first, in the order given, then the program's own folders beside the tool
// (filter/private and filter/system, each after its language subfolder on Windows). The first
// file loaded for an ID wins.
class CToolFilters {
public:
    // False (with a message) when a --filter-dir folder holds no filter file.
    bool Load(const std::vector<std::string>& filterDirs, std::string& error);

    // A filter ID (letters, digits, '_' and '@') names a loaded filter; anything else is a
    // filter file. Null with a message when nothing is found, the file is refused, or it is a
    // reference filter, whose members are named so that one can be picked instead.
    CFilter* Resolve(const std::string& idOrFile, std::string& error);

    // The visible colour-map filters of the program's default enabled list, in that order,
    // without the identity.
    std::vector<CFilter*> GetDefaultFilters() const;

    // The folders searched, highest priority first, for messages.
    const std::vector<std::string>& GetSearchedDirs() const { return m_searched; }

private:
    CFilterManager m_manager;
    std::vector<std::unique_ptr<CFilter>> m_fromFiles;
    std::vector<std::string> m_searched;
};

// The directory of the running executable, with a trailing separator; empty when unknown.
std::string GetToolDirectory();
