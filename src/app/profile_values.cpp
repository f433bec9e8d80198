#include "app/profile_values.h"

#include "platform/text_util.h"

#include <cstdio>

bool ParsePanelPosition(std::string_view text, IntRect& rect) {
    std::int32_t value[4];
    for (int i = 0; i < 4; ++i) {
        if ((i > 0 && !ScanLiteral(text, ',')) || !ScanInt32(text, value[i])) {
            return false;
        }
    }
    rect = IntRect{value[0], value[1], WrappingAdd(value[0], value[2]),
                   WrappingAdd(value[1], value[3])};
    return true;
}

std::string FormatPanelPosition(const IntRect& rect) {
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", rect.left, rect.top,
                  WrappingSub(rect.right, rect.left), WrappingSub(rect.bottom, rect.top));
    return text;
}

std::vector<CQuickKeyItem> ParseQuickHotKeys(std::string_view text) {
    std::vector<CQuickKeyItem> items;
    while (items.size() < MaxQuickKeyItems) {
        const std::size_t idEnd = text.find(',');
        if (idEnd == std::string_view::npos) {
            break;
        }
        const std::string_view rest = text.substr(idEnd + 1);
        const std::size_t keyEnd = rest.find(',');
        std::string id = TrimmedCopy(text.substr(0, idEnd));
        std::string key = TrimmedCopy(rest.substr(0, keyEnd));
        if (id.empty() || key.empty()) {
            break;
        }
        const std::uint32_t hotKey = ParseCUnsigned(key);
        if (hotKey == 0) {
            break;
        }
        items.emplace_back(std::move(id), hotKey);
        if (keyEnd == std::string_view::npos) {
            break;
        }
        text = rest.substr(keyEnd + 1);
    }
    return items;
}

std::string FormatQuickHotKeys(const std::vector<CQuickKeyItem>& items) {
    std::string text;
    for (const CQuickKeyItem& item : items) {
        if (!text.empty()) {
            text += ',';
        }
        text += item.GetID();
        text += ',';
        text += std::to_string(static_cast<std::int32_t>(item.GetHotKey()));
    }
    return text;
}

std::vector<std::string> ParseEnabledFilterList(std::string_view text) {
    if (text.empty()) {
        text = DefaultEnabledFilterText;
    }
    std::vector<std::string> ids;
    while (true) {
        const std::size_t comma = text.find(',');
        std::string id = TrimmedCopy(text.substr(0, comma));
        if (!id.empty()) {
            ids.push_back(std::move(id));
        }
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return ids;
}

std::string FormatEnabledFilterList(const std::vector<std::string>& ids) {
    std::string text;
    for (const std::string& id : ids) {
        if (!text.empty()) {
            text += ',';
        }
        text += id;
    }
    return text;
}
