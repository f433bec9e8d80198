#pragma once

#include "engine/hotkeys/quick_key_item.h"

#include <cstdint>
#include <string>
#include <vector>

class CFilter;
class CFilterManager;

// Virtual-key code in bits 0-15, modifiers in bits 16-31 (1 Alt, 2 Control, 4 Shift, 8 Windows
// key), exactly as the platform's registration reads them; 0 means none.
using HotKeyValue = std::uint32_t;

constexpr int DESKTOP_HOTKEY_ID = 100;
constexpr int QUICK_HOTKEY_ID_BASE = 120;
constexpr int MAX_QUICK_HOTKEYS = 10;

// The hot key edit control speaks another flag set (1 Shift, 2 Control, 4 Alt, 8 extended).
// Flag bits outside the four known ones are dropped in both directions.
unsigned ControlFlagsToModifiers(unsigned controlFlags);
unsigned ModifiersToControlFlags(unsigned modifiers);
// Control word (key in the low byte, control flags in the high byte) to hot key value, and back.
// The control also sets its extended flag for the keys of the extended keyboard (arrows,
// Insert, Delete, Home, End, Page Up/Down, ...): there it names the key, so it is neither read
// as the Windows-key modifier nor lost when the key is shown again.
HotKeyValue HotKeyFromControlWord(unsigned controlWord);
unsigned ControlWordFromHotKey(HotKeyValue value);

// The window that receives hot key events; opaque outside the platform layer.
using HotKeyWindow = void*;

// The platform's global hot key service, and the one message its failures produce.
class CHotKeyPlatform {
public:
    virtual ~CHotKeyPlatform() = default;
    // True when registered; otherwise false with the platform's error code in `error`.
    virtual bool Register(HotKeyWindow window, int id, unsigned modifiers, unsigned key,
                          unsigned long& error) = 0;
    virtual void Unregister(HotKeyWindow window, int id) = 0;
    // Tells the user that a key could not be registered ("register hotkey failed. [code=%d]").
    virtual void ReportRegisterFailure(unsigned long error) = 0;
};

// Null restores the default, which refuses every key; the program installs the platform's
// service before the first registration.
void SetHotKeyPlatform(CHotKeyPlatform* platform);
CHotKeyPlatform& GetHotKeyPlatform();

// One quick hot key: the filter it shows (owned by the filter manager) and its registration.
class CQuickKey {
public:
    CQuickKey(CFilter* filter, HotKeyValue hotKey) : m_filter(filter), m_hotKey(hotKey) {}
    CQuickKey(const CQuickKey&) = default;
    CQuickKey& operator=(const CQuickKey&) = default;
    virtual ~CQuickKey() = default;

    CFilter* GetFilter() const { return m_filter; }
    HotKeyValue GetHotKey() const { return m_hotKey; }
    bool IsRegistered() const { return m_registered; }
    void SetRegistered(bool registered) { m_registered = registered; }

private:
    CFilter* m_filter;
    HotKeyValue m_hotKey;
    bool m_registered = false;
};

// What a hot key event asks for.
struct HotKeyAction {
    enum Kind { NoAction, OpenDesktopView, OpenQuickView };
    Kind kind = NoAction;
    int position = -1; // enabled-list position for OpenQuickView

    bool operator==(const HotKeyAction&) const = default;
};

class CHotKeyManager {
public:
    CHotKeyManager() = default;
    CHotKeyManager(const CHotKeyManager&) = default;
    CHotKeyManager& operator=(const CHotKeyManager&) = default;
    virtual ~CHotKeyManager() = default;

    // Takes the desktop key and the stored quick keys whose filters exist and are enabled.
    void Load(HotKeyValue desktopHotKey, const std::vector<CQuickKeyItem>& quickKeys,
              const CFilterManager& filters);
    // The quick keys as they are stored.
    std::vector<CQuickKeyItem> GetQuickKeyItems() const;

    // Register the keys that are set and not yet registered. A key another program holds is
    // reported and kept: it is tried again at the next registration.
    bool RegisterDesktopHotKey(HotKeyWindow window);
    void UnregisterDesktopHotKey(HotKeyWindow window);
    bool RegisterQuickHotKeys(HotKeyWindow window);
    void UnregisterQuickHotKeys(HotKeyWindow window);

    HotKeyValue GetDesktopHotKey() const { return m_desktopHotKey; }
    void SetDesktopHotKey(HotKeyValue value) { m_desktopHotKey = value; }
    bool IsDesktopHotKeyRegistered() const { return m_desktopRegistered; }
    const std::vector<CQuickKey>& GetQuickKeys() const { return m_quickKeys; }

    HotKeyValue GetQuickHotKey(const CFilter* filter) const;
    // Removes the filter's entry and, for a value other than 0, appends a new one at the end.
    void SetQuickHotKey(CFilter* filter, HotKeyValue value);
    // Key in bits 0-15, control flags in bits 16-31.
    std::uint32_t GetQuickHotKeyForControl(const CFilter* filter) const;
    void SetQuickHotKeyFromControl(CFilter* filter, unsigned controlWord);
    std::uint32_t GetDesktopHotKeyForControl() const;
    void SetDesktopHotKeyFromControl(unsigned controlWord);
    CFilter* GetQuickFilterAt(int position) const;

    // True, with the string resource of the message for the user, when the quick keys break
    // the rule.
    bool CheckHotKeyLimit(unsigned& message) const;
    bool CheckHotKeyConflict(unsigned& message) const;
    // The general setting dialog's half of the conflict rule: a quick key equal to the desktop
    // key.
    bool CheckDesktopHotKeyConflict(unsigned& message) const;

    // What the event asks for; a quick key names its filter's position in the enabled list.
    HotKeyAction ResolveHotKeyEvent(int id, const CFilterManager& filters) const;

private:
    HotKeyValue m_desktopHotKey = 0;
    bool m_desktopRegistered = false;
    std::vector<CQuickKey> m_quickKeys;
};
