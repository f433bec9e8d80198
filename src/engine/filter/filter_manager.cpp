#include "engine/filter/filter_manager.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_reader.h"
#include "platform/path_util.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#endif

namespace {

const char kNormalID[] = "_normal";
const char kNormalDisplayName[] = "normal";

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool HasXmlExtension(const std::string& name) {
    return name.size() >= 4 && EqualsIgnoreCase(name.substr(name.size() - 4), ".xml");
}

#ifdef _WIN32
constexpr char kSeparator = '\\';

bool IsDirectory(const std::string& dir) {
    const DWORD attributes = GetFileAttributesW(WidePath(dir).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
#else
constexpr char kSeparator = '/';

bool IsDirectory(const std::string& dir) {
    std::error_code error;
    return std::filesystem::is_directory(dir, error);
}
#endif

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir.back() == kSeparator || dir.back() == '/') {
        return dir + name;
    }
    return dir + kSeparator + name;
}

// The names in dir that end in ".xml" in any letter case, in byte order, so that which of two
// same-ID files wins does not depend on the file system. A Windows wildcard also matches short
// 8.3 names ("*.xml" finds "a.xmlx"), so the real name is checked. Directories are counted as
// matches but not returned.
bool ListFilterFiles(const std::string& dir, std::vector<std::string>& files) {
    bool matched = false;
#ifdef _WIN32
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(WidePath(JoinPath(dir, "*.xml")).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        const std::string name = PathFromWide(data.cFileName);
        if (!HasXmlExtension(name)) {
            continue;
        }
        matched = true;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            files.push_back(name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
#else
    std::error_code error;
    std::filesystem::directory_iterator it(dir, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string(); // UTF-8 here
        if (!HasXmlExtension(name)) {
            continue;
        }
        matched = true;
        std::error_code statusError;
        if (!it->is_directory(statusError)) {
            files.push_back(name);
        }
    }
#endif
    std::sort(files.begin(), files.end());
    return matched;
}

} // namespace

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool CFilter::ResolveRefs(const CFilterManager& manager) {
    if (!IsReferenceFilter()) {
        return false;
    }
    for (CFilterRef& ref : m_refs) {
        CFilter* member = manager.FindFilter(ref.GetID());
        // A reference filter as a member would reach a view with no colour table to show.
        if (!member || member->IsReferenceFilter()) {
            return false;
        }
        ref.SetFilter(member);
    }
    return true;
}

CFilterManager::CFilterManager() {
    m_filters.reserve(kMaxFilters);
    AddFilter(CreateNormalFilter());
}

CFilterManager::~CFilterManager() {
    for (CFilter* filter : m_filters) {
        delete filter;
    }
    m_filters.clear();
    m_enabled.clear();
}

bool CFilterManager::LoadFilterDirectory(const std::string& dir) {
    if (!IsDirectory(dir)) {
        return false;
    }
    std::vector<std::string> files;
    if (!ListFilterFiles(dir, files)) {
        return false;
    }
    std::vector<std::unique_ptr<CFilter>> pending;
    for (const std::string& name : files) {
        auto filter = std::make_unique<CFilter>();
        if (!LoadFilterFile(*filter, JoinPath(dir, name))) {
            continue;
        }
        if (filter->IsReferenceFilter()) {
            pending.push_back(std::move(filter));
            continue;
        }
        if (CFilter* loaded = FindFilter(filter->GetID())) {
            // The first "_normal" file only names the built-in filter; its colours are unused.
            if (EqualsIgnoreCase(filter->GetID(), kNormalID) &&
                loaded->GetDisplayName() == kNormalDisplayName) {
                loaded->SetDisplayName(filter->GetDisplayName());
            }
            continue;
        }
        AddFilter(std::move(filter));
    }
    for (auto& reference : pending) {
        if (reference->ResolveRefs(*this) && !FindFilter(reference->GetID())) {
            AddFilter(std::move(reference));
        }
    }
    return true;
}

CFilter* CFilterManager::FindFilter(const std::string& id) const {
    for (CFilter* filter : m_filters) {
        if (EqualsIgnoreCase(filter->GetID(), id)) {
            return filter;
        }
    }
    return nullptr;
}

bool CFilterManager::AddFilter(std::unique_ptr<CFilter> filter) {
    if (!filter || FindFilter(filter->GetID()) || GetFilterCount() >= kMaxFilters) {
        return false;
    }
    m_filters.push_back(filter.get());
    filter.release();
    return true;
}

CFilter* CFilterManager::GetFilter(int index) const {
    return index >= 0 && index < GetFilterCount() ? m_filters[index] : nullptr;
}

CFilter* CFilterManager::GetEnabledFilter(int index) const {
    return index >= 0 && index < GetEnabledCount() ? m_enabled[index] : nullptr;
}

CFilter* CFilterManager::FindEnabled(const std::string& id) const {
    for (CFilter* filter : m_enabled) {
        if (EqualsIgnoreCase(filter->GetID(), id)) {
            return filter;
        }
    }
    return nullptr;
}

int CFilterManager::GetEnabledIndex(const CFilter* filter) const {
    if (!filter) {
        return -1;
    }
    const auto it = std::find(m_enabled.begin(), m_enabled.end(), filter);
    return it == m_enabled.end() ? -1 : static_cast<int>(it - m_enabled.begin());
}

void CFilterManager::AppendEnabled(CFilter* filter) {
    if (filter) {
        m_enabled.push_back(filter);
    }
}

void CFilterManager::SetEnabledFilters(const std::vector<std::string>& ids) {
    for (const std::string& id : ids) {
        CFilter* filter = FindFilter(id);
        if (filter && !FindEnabled(id) && filter->IsVisible()) {
            m_enabled.push_back(filter);
        }
    }
    CFilter* normal = GetNormalFilter();
    if (normal && !FindEnabled(kNormalID)) {
        m_enabled.push_back(normal);
    }
}

void CFilterManager::GetEnabledIDs(std::vector<std::string>& ids) const {
    ids.clear();
    for (const CFilter* filter : m_enabled) {
        ids.push_back(filter->GetID());
    }
}

CFilter* CFilterManager::GetNormalFilter() const {
    return FindFilter(kNormalID);
}

bool CFilterManager::PrepareTables() {
    for (CFilter* filter : m_filters) {
        if (filter->IsColorMapFilter()) {
            filter->SetInUse(false);
        }
    }
    for (CFilter* filter : m_enabled) {
        if (filter->IsColorMapFilter()) {
            filter->SetInUse(true);
            continue;
        }
        CFilterRef ref;
        for (int i = 0; i < filter->GetRefCount(); ++i) {
            if (filter->GetRef(i, ref) && ref.GetFilter()) {
                ref.GetFilter()->SetInUse(true);
            }
        }
    }
    for (CFilter* filter : m_filters) {
        if (!filter->IsColorMapFilter()) {
            continue;
        }
        if (filter->IsInUse()) {
            filter->BuildTable(m_quality);
        } else {
            filter->FreeTable();
        }
    }
    return true;
}
