#include "app/profile_values.h"

#include "engine/image/look_alike.h"

#include "engine/filter/filter_manager.h"
#include "platform/settings_store.h"
#include "platform/text_util.h"

#include <algorithm>
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

bool ContainsID(const std::vector<std::string>& ids, const std::string& id) {
    return std::any_of(ids.begin(), ids.end(),
                       [&id](const std::string& other) { return EqualsIgnoreCase(other, id); });
}

namespace {

const std::string& IDOf(const std::string& id) {
    return id;
}
const std::string& IDOf(const CQuickKeyItem& item) {
    return item.GetID();
}

template <class T, class Fits>
std::vector<T> PutBackMissing(const std::vector<T>& previous, std::vector<T> list,
                              const std::vector<std::string>& missing, Fits fits) {
    const auto find = [&list](const std::string& id) {
        return std::find_if(list.begin(), list.end(),
                            [&id](const T& item) { return EqualsIgnoreCase(IDOf(item), id); });
    };
    std::vector<std::size_t> putBack; // positions, in the order they went in
    std::size_t at = 0;
    for (const T& item : previous) {
        const auto found = find(IDOf(item));
        if (found != list.end()) {
            at = static_cast<std::size_t>(found - list.begin()) + 1;
            continue;
        }
        // Entries the user removed from a loaded filter are gone for good.
        if (!ContainsID(missing, IDOf(item))) {
            continue;
        }
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), item);
        for (std::size_t& p : putBack) {
            p += p >= at ? 1 : 0;
        }
        putBack.push_back(at++);
    }
    while (!putBack.empty() && !fits(list)) {
        const std::size_t last = *std::max_element(putBack.begin(), putBack.end());
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(last));
        putBack.erase(std::find(putBack.begin(), putBack.end(), last));
    }
    return list;
}

} // namespace

std::vector<std::string> KeepMissingIDs(const std::vector<std::string>& previous,
                                        const std::vector<std::string>& current,
                                        const std::vector<std::string>& missing) {
    return PutBackMissing(previous, current, missing, [](const std::vector<std::string>& ids) {
        return FormatEnabledFilterList(ids).size() < kSettingsTextCapacity;
    });
}

std::vector<CQuickKeyItem> KeepMissingQuickKeys(const std::vector<CQuickKeyItem>& previous,
                                                const std::vector<CQuickKeyItem>& current,
                                                const std::vector<std::string>& missing) {
    return PutBackMissing(previous, current, missing, [](const std::vector<CQuickKeyItem>& items) {
        return items.size() <= MaxQuickKeyItems &&
               FormatQuickHotKeys(items).size() < kSettingsTextCapacity;
    });
}

double ParseLookAlikeDistance(std::string_view text) {
    double distance = kDefaultLookAlikeDistance;
    ReadLookAlikeDistance(text, distance);
    return distance;
}

std::string FormatLookAlikeDistance(double distance) {
    if (!IsValidLookAlikeDistance(distance)) {
        distance = kDefaultLookAlikeDistance;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", distance);
    return text;
}
