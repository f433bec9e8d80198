#include "engine/hotkeys/hot_key_manager.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "resource.h"

#include <algorithm>

namespace {

// Control flag bit → hot key modifier bit.
constexpr struct {
    unsigned control;
    unsigned modifier;
} kFlagPairs[] = {{0x01, 0x04}, {0x02, 0x02}, {0x04, 0x01}, {0x08, 0x08}};

class CRefusingPlatform : public CHotKeyPlatform {
public:
    bool Register(HotKeyWindow, int, unsigned, unsigned, unsigned long& error) override {
        error = 0;
        return false;
    }
    void Unregister(HotKeyWindow, int) override {}
    void ReportRegisterFailure(unsigned long) override {}
};

CHotKeyPlatform* g_platform = nullptr;

constexpr unsigned kExtendedControlFlag = 0x08;

// Virtual keys that exist only on the extended keyboard, or whose plain form is a keypad key.
bool IsExtendedKey(unsigned key) {
    return key == 0x03 ||                  // Break (Ctrl+Pause)
           (key >= 0x21 && key <= 0x28) || // Page Up, Page Down, End, Home, arrows
           (key >= 0x2C && key <= 0x2E) || // Print Screen, Insert, Delete
           (key >= 0x5B && key <= 0x5D) || // Windows keys, Applications
           key == 0x6F || key == 0x90;     // keypad divide, Num Lock
}

unsigned ControlFlagsOf(HotKeyValue value) {
    unsigned flags = ModifiersToControlFlags(value >> 16);
    if (IsExtendedKey(value & 0xFFu)) {
        flags |= kExtendedControlFlag;
    }
    return flags;
}

unsigned ModifiersOf(HotKeyValue value) {
    return value >> 16;
}
unsigned KeyOf(HotKeyValue value) {
    return value & 0xFFFFu;
}

} // namespace

unsigned ControlFlagsToModifiers(unsigned controlFlags) {
    unsigned modifiers = 0;
    for (const auto& pair : kFlagPairs) {
        if (controlFlags & pair.control) {
            modifiers |= pair.modifier;
        }
    }
    return modifiers;
}

unsigned ModifiersToControlFlags(unsigned modifiers) {
    unsigned flags = 0;
    for (const auto& pair : kFlagPairs) {
        if (modifiers & pair.modifier) {
            flags |= pair.control;
        }
    }
    return flags;
}

HotKeyValue HotKeyFromControlWord(unsigned controlWord) {
    const unsigned key = controlWord & 0xFFu;
    unsigned flags = (controlWord >> 8) & 0xFFu;
    if (IsExtendedKey(key)) {
        flags &= ~kExtendedControlFlag;
    }
    return key | (ControlFlagsToModifiers(flags) << 16);
}

unsigned ControlWordFromHotKey(HotKeyValue value) {
    return (value & 0xFFu) | (ControlFlagsOf(value) << 8);
}

void SetHotKeyPlatform(CHotKeyPlatform* platform) {
    g_platform = platform;
}

CHotKeyPlatform& GetHotKeyPlatform() {
    static CRefusingPlatform refusing;
    return g_platform != nullptr ? *g_platform : refusing;
}

void CHotKeyManager::Load(HotKeyValue desktopHotKey, const std::vector<CQuickKeyItem>& quickKeys,
                          const CFilterManager& filters) {
    m_desktopHotKey = desktopHotKey;
    m_quickKeys.clear();
    for (const CQuickKeyItem& item : quickKeys) {
        CFilter* filter = filters.FindFilter(item.GetID());
        if (filter != nullptr && filters.GetEnabledIndex(filter) >= 0) {
            m_quickKeys.emplace_back(filter, item.GetHotKey());
        }
    }
}

std::vector<CQuickKeyItem> CHotKeyManager::GetQuickKeyItems() const {
    std::vector<CQuickKeyItem> items;
    items.reserve(m_quickKeys.size());
    for (const CQuickKey& key : m_quickKeys) {
        items.emplace_back(key.GetFilter()->GetID(), key.GetHotKey());
    }
    return items;
}

bool CHotKeyManager::RegisterDesktopHotKey(HotKeyWindow window) {
    if (m_desktopHotKey == 0 || m_desktopRegistered) {
        return true;
    }
    CHotKeyPlatform& platform = GetHotKeyPlatform();
    unsigned long error = 0;
    m_desktopRegistered = platform.Register(window, DESKTOP_HOTKEY_ID, ModifiersOf(m_desktopHotKey),
                                            KeyOf(m_desktopHotKey), error);
    if (!m_desktopRegistered) {
        // Another program may hold the key only for a while (at log-on, say): the user's
        // choice stays, and is stored and tried again.
        platform.ReportRegisterFailure(error);
    }
    return true;
}

void CHotKeyManager::UnregisterDesktopHotKey(HotKeyWindow window) {
    if (m_desktopRegistered) {
        GetHotKeyPlatform().Unregister(window, DESKTOP_HOTKEY_ID);
    }
    m_desktopRegistered = false;
}

bool CHotKeyManager::RegisterQuickHotKeys(HotKeyWindow window) {
    CHotKeyPlatform& platform = GetHotKeyPlatform();
    for (std::size_t i = 0; i < m_quickKeys.size(); ++i) {
        CQuickKey& key = m_quickKeys[i];
        if (key.GetHotKey() == 0 || key.IsRegistered()) {
            continue;
        }
        unsigned long error = 0;
        const bool ok =
            platform.Register(window, QUICK_HOTKEY_ID_BASE + static_cast<int>(i),
                              ModifiersOf(key.GetHotKey()), KeyOf(key.GetHotKey()), error);
        key.SetRegistered(ok);
        if (!ok) {
            platform.ReportRegisterFailure(error);
        }
    }
    return true;
}

void CHotKeyManager::UnregisterQuickHotKeys(HotKeyWindow window) {
    CHotKeyPlatform& platform = GetHotKeyPlatform();
    for (std::size_t i = 0; i < m_quickKeys.size(); ++i) {
        if (m_quickKeys[i].IsRegistered()) {
            platform.Unregister(window, QUICK_HOTKEY_ID_BASE + static_cast<int>(i));
        }
        m_quickKeys[i].SetRegistered(false);
    }
}

HotKeyValue CHotKeyManager::GetQuickHotKey(const CFilter* filter) const {
    if (filter == nullptr) {
        return 0;
    }
    for (const CQuickKey& key : m_quickKeys) {
        if (key.GetFilter() == filter) {
            return key.GetHotKey();
        }
    }
    return 0;
}

void CHotKeyManager::SetQuickHotKey(CFilter* filter, HotKeyValue value) {
    if (filter == nullptr) {
        return;
    }
    auto it = std::find_if(m_quickKeys.begin(), m_quickKeys.end(),
                           [filter](const CQuickKey& key) { return key.GetFilter() == filter; });
    if (it != m_quickKeys.end()) {
        m_quickKeys.erase(it);
    }
    if (value != 0) {
        m_quickKeys.emplace_back(filter, value);
    }
}

std::uint32_t CHotKeyManager::GetQuickHotKeyForControl(const CFilter* filter) const {
    const HotKeyValue value = GetQuickHotKey(filter);
    return KeyOf(value) | (ControlFlagsOf(value) << 16);
}

void CHotKeyManager::SetQuickHotKeyFromControl(CFilter* filter, unsigned controlWord) {
    SetQuickHotKey(filter, HotKeyFromControlWord(controlWord));
}

std::uint32_t CHotKeyManager::GetDesktopHotKeyForControl() const {
    return KeyOf(m_desktopHotKey) | (ControlFlagsOf(m_desktopHotKey) << 16);
}

void CHotKeyManager::SetDesktopHotKeyFromControl(unsigned controlWord) {
    m_desktopHotKey = HotKeyFromControlWord(controlWord);
}

CFilter* CHotKeyManager::GetQuickFilterAt(int position) const {
    if (position < 0 || position >= static_cast<int>(m_quickKeys.size())) {
        return nullptr;
    }
    return m_quickKeys[static_cast<std::size_t>(position)].GetFilter();
}

bool CHotKeyManager::CheckHotKeyLimit(unsigned& message) const {
    if (m_quickKeys.size() > static_cast<std::size_t>(MAX_QUICK_HOTKEYS)) {
        message = IDS_HOTKEY_LIMIT_EXCEEDED;
        return true;
    }
    return false;
}

bool CHotKeyManager::CheckDesktopHotKeyConflict(unsigned& message) const {
    for (const CQuickKey& key : m_quickKeys) {
        if (key.GetHotKey() == m_desktopHotKey) {
            message = IDS_HOTKEY_CONFLICT;
            return true;
        }
    }
    return false;
}

bool CHotKeyManager::CheckHotKeyConflict(unsigned& message) const {
    for (std::size_t i = 0; i < m_quickKeys.size(); ++i) {
        const HotKeyValue value = m_quickKeys[i].GetHotKey();
        bool conflict = value == m_desktopHotKey;
        for (std::size_t j = i + 1; !conflict && j < m_quickKeys.size(); ++j) {
            conflict = value == m_quickKeys[j].GetHotKey();
        }
        if (conflict) {
            message = IDS_HOTKEY_CONFLICT;
            return true;
        }
    }
    return false;
}

HotKeyAction CHotKeyManager::ResolveHotKeyEvent(int id, const CFilterManager& filters) const {
    if (id == DESKTOP_HOTKEY_ID) {
        return {HotKeyAction::OpenDesktopView, -1};
    }
    if (id >= QUICK_HOTKEY_ID_BASE && id < QUICK_HOTKEY_ID_BASE + MAX_QUICK_HOTKEYS) {
        const int position = filters.GetEnabledIndex(GetQuickFilterAt(id - QUICK_HOTKEY_ID_BASE));
        if (position >= 0) {
            return {HotKeyAction::OpenQuickView, position};
        }
    }
    return {};
}
