// The quick hot key list comes from the registry; what parses must write back to a text that
// parses to the same items.
#include "app/profile_values.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto items = ParseQuickHotKeys(text);
    if (items.size() > MaxQuickKeyItems) {
        std::abort();
    }
    for (const auto& item : items) {
        if (item.GetHotKey() == 0 || item.GetID().empty()) {
            std::abort();
        }
    }
    // IDs with commas inside cannot survive a round trip; the items a text yields never have one.
    const auto again = ParseQuickHotKeys(FormatQuickHotKeys(items));
    if (again.size() != items.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (again[i].GetID() != items[i].GetID() || again[i].GetHotKey() != items[i].GetHotKey()) {
            std::abort();
        }
    }
    return 0;
}
