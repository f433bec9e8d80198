#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// One quick-mode hot key as it is kept in the profile.
class CQuickKeyItem {
public:
    CQuickKeyItem() = default;
    CQuickKeyItem(std::string id, std::uint32_t hotKey) : m_id(std::move(id)), m_hotKey(hotKey) {}
    CQuickKeyItem(const CQuickKeyItem&) = default;
    CQuickKeyItem& operator=(const CQuickKeyItem&) = default;
    virtual ~CQuickKeyItem() = default;

    const std::string& GetID() const { return m_id; }
    std::uint32_t GetHotKey() const { return m_hotKey; }
    void SetID(std::string id) { m_id = std::move(id); }
    void SetHotKey(std::uint32_t hotKey) { m_hotKey = hotKey; }

private:
    std::string m_id;
    std::uint32_t m_hotKey = 0;
};

constexpr std::size_t MaxQuickKeyItems = 20;
