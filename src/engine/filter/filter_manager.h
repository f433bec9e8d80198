#pragma once

#include "engine/filter/image_quality.h"

#include <memory>
#include <string>
#include <vector>

class CFilter;

// Owns every filter of the run: "_normal" first, then the files of the filter directories in
// the order they were loaded. Keeps the enabled list and the colour tables of filters in use.
class CFilterManager {
public:
    static constexpr int kMaxFilters = 512;

    // Holds "_normal" alone.
    CFilterManager();
    CFilterManager(const CFilterManager&) = delete;
    CFilterManager& operator=(const CFilterManager&) = delete;
    virtual ~CFilterManager();

    // Loads the "*.xml" files of one directory (a UTF-8 path) in name order. The first file loaded
    // for an ID wins; reference filters are resolved after the directory's colour-map filters, in
    // the order read. False when the directory does not exist or holds no such file.
    bool LoadFilterDirectory(const std::string& dir);

    // First filter whose ID matches without regard to ASCII letter case, or null.
    CFilter* FindFilter(const std::string& id) const;
    // Takes the filter; refuses (false, and the filter is destroyed) none, a taken ID or a
    // filter beyond kMaxFilters.
    bool AddFilter(std::unique_ptr<CFilter> filter);

    int GetFilterCount() const { return static_cast<int>(m_filters.size()); }
    CFilter* GetFilter(int index) const;
    const std::vector<CFilter*>& GetAllFilters() const { return m_filters; }

    int GetEnabledCount() const { return static_cast<int>(m_enabled.size()); }
    CFilter* GetEnabledFilter(int index) const;
    // The filter setting dialog replaces the contents on OK.
    std::vector<CFilter*>& GetEnabledList() { return m_enabled; }
    const std::vector<CFilter*>& GetEnabledList() const { return m_enabled; }
    CFilter* FindEnabled(const std::string& id) const;
    // Position of that object in the enabled list; -1 when absent or null.
    int GetEnabledIndex(const CFilter* filter) const;
    void AppendEnabled(CFilter* filter);
    // Enables the loaded, visible filters among ids in that order, each once; then "_normal"
    // last unless the list already holds it.
    void SetEnabledFilters(const std::vector<std::string>& ids);
    void GetEnabledIDs(std::vector<std::string>& ids) const;

    CFilter* GetNormalFilter() const;

    // The quality PrepareTables builds at, and the one the views index their pixels at.
    void SetImageQuality(const CImageQuality& quality) { m_quality = quality; }
    const CImageQuality& GetImageQuality() const { return m_quality; }

    // Marks the enabled colour-map filters and the members of enabled reference filters in
    // use, builds their tables and frees the tables of every other filter.
    bool PrepareTables();

private:
    std::vector<CFilter*> m_filters; // owned
    std::vector<CFilter*> m_enabled; // each also in m_filters
    CImageQuality m_quality;
};

// ASCII letters compared without case; every other byte exactly.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);
