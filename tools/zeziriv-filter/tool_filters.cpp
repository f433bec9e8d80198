#include "tool_filters.h"

#include "app/profile_values.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"
#include "platform/path_util.h"

#ifdef _WIN32
#include "app/startup_paths.h"

#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::vector<std::string> ProgramFilterDirs() {
    const std::string dir = GetToolDirectory();
    if (dir.empty()) {
        return {};
    }
#ifdef _WIN32
    return GetFilterDirectories(dir, GetSystemDefaultLangID());
#else
    return {dir + "filter/private", dir + "filter/system"};
#endif
}

std::string ReferenceRefusal(const CFilter& filter) {
    std::string members;
    CFilterRef ref;
    for (int i = 0; filter.GetRef(i, ref); ++i) {
        members += (i == 0 ? "" : ", ") + ref.GetID();
    }
    return filter.GetID() + " is a reference filter, a sequence of other filters (" +
           (members.empty() ? std::string("no members") : "members: " + members) +
           "); name one of its members instead";
}

} // namespace

std::string GetToolDirectory() {
#ifdef _WIN32
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4) {
        return {};
    }
    const std::string text = PathFromWide(std::wstring_view(path, length));
    const std::size_t slash = text.find_last_of("\\/");
#else
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) {
        return {};
    }
    std::string text(path, static_cast<std::size_t>(length));
    const std::size_t slash = text.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

bool CToolFilters::Load(const std::vector<std::string>& filterDirs, std::string& error) {
    for (const std::string& dir : filterDirs) {
        m_searched.push_back(dir);
        if (!m_manager.LoadFilterDirectory(dir)) {
            error = dir + ": no directory or no *.xml file";
            return false;
        }
    }
    for (const std::string& dir : ProgramFilterDirs()) {
        if (m_manager.LoadFilterDirectory(dir)) {
            m_searched.push_back(dir);
        }
    }
    return true;
}

CFilter* CToolFilters::Resolve(const std::string& idOrFile, std::string& error) {
    if (IsValidFilterID(idOrFile.c_str())) {
        CFilter* filter = m_manager.FindFilter(idOrFile);
        if (filter == nullptr) {
            error = "no filter with the ID " + idOrFile + " in ";
            if (m_searched.empty()) {
                error += "any folder (give one with --filter-dir)";
            }
            for (std::size_t i = 0; i < m_searched.size(); ++i) {
                error += (i == 0 ? "" : ", ") + m_searched[i];
            }
            return nullptr;
        }
        if (filter->IsReferenceFilter()) {
            error = ReferenceRefusal(*filter);
            return nullptr;
        }
        return filter;
    }
    auto filter = std::make_unique<CFilter>();
    std::string message;
    if (!LoadFilterFile(*filter, idOrFile, &message)) {
        error = idOrFile + ": " + message;
        return nullptr;
    }
    if (filter->IsReferenceFilter()) {
        error = idOrFile + ": " + ReferenceRefusal(*filter);
        return nullptr;
    }
    m_fromFiles.push_back(std::move(filter));
    return m_fromFiles.back().get();
}

std::vector<CFilter*> CToolFilters::GetDefaultFilters() const {
    std::vector<CFilter*> filters;
    for (const std::string& id : ParseEnabledFilterList(DefaultEnabledFilterText)) {
        CFilter* filter = m_manager.FindFilter(id);
        if (filter != nullptr && filter->IsVisible() && filter->IsColorMapFilter() &&
            !filter->IsIdentity()) {
            filters.push_back(filter);
        }
    }
    return filters;
}
