#pragma once

// The filter setting dialog without its window: the working enabled list, the filters that can
// be enabled, the selection, the hot key control's content and the filter it belongs to, the
// buttons that are offered and where the keyboard focus goes. The dialog shows this state and
// passes every user action here; nothing reaches the filter manager or the caller's hot keys
// before a confirmed OK.

#include "engine/hotkeys/hot_key_manager.h"
#include "platform/settings_store.h"

#include <optional>
#include <string>
#include <vector>

class CFilter;
class CFilterManager;

struct FilterSettingButtons {
    bool up = false;
    bool down = false;
    bool enable = false;
    bool disable = false;

    bool operator==(const FilterSettingButtons&) const = default;
};

// True when display name a sorts before b in the disabled list.
using DisplayNameOrder = bool (*)(const std::string& a, const std::string& b);
// ASCII letter case ignored, otherwise byte order.
bool DisplayNameBeforeIgnoringCase(const std::string& a, const std::string& b);

// The controls along which the keyboard focus leaves a button that becomes unavailable.
enum class FilterSettingFocus { Up, Down, Disable, Enable, DisabledList };

class CFilterSettingModel {
public:
    // Starts from the manager's enabled list, the first filter selected, and a copy of the
    // caller's keys. `missing` are the stored enabled IDs whose filters did not load: not
    // shown, kept unless the user forgets them, and counted in the stored list's length.
    CFilterSettingModel(const CFilterManager& filters, const CHotKeyManager& hotKeys,
                        DisplayNameOrder order = &DisplayNameBeforeIgnoringCase,
                        std::vector<std::string> missing = {});

    const std::vector<CFilter*>& GetEnabled() const { return m_enabled; }
    // Visible filters whose ID (ignoring case) is not enabled, sorted by display name (ties in
    // the manager's order): the order the dialog shows and enables them in.
    const std::vector<CFilter*>& GetDisabled() const { return m_disabled; }
    const std::vector<CFilter*>& GetDisabledSelection() const { return m_disabledSelection; }
    int GetSelection() const { return m_selection; }
    CFilter* GetSelectedFilter() const;
    // The selected filter's ID and display name; empty without a selection.
    std::string GetSelectedID() const;
    std::string GetSelectedName() const;

    // The hot key control's word and the filter it was loaded for.
    unsigned GetHotKeyWord() const { return m_hotKeyWord; }
    const CFilter* GetBoundFilter() const { return m_bound; }
    const CHotKeyManager& GetHotKeys() const { return m_hotKeys; }

    FilterSettingButtons GetButtons() const;
    // Where the focus goes when it was on `focus` and the buttons are now `buttons`: the same
    // control while it is available, otherwise the next available one along Up, Down, Disable,
    // Enable, disabled list.
    static FilterSettingFocus MoveFocusOffUnavailable(FilterSettingFocus focus,
                                                      const FilterSettingButtons& buttons);

    // What the user typed into the hot key control; it is taken at the next refresh.
    void SetHotKeyWord(unsigned word) { m_hotKeyWord = word; }
    // Selection changes: an index outside the list is no selection; filters that are not in
    // the disabled list are ignored.
    void SelectEnabled(int index);
    void SelectDisabled(const std::vector<CFilter*>& selected);
    void MoveUp();
    void MoveDown();
    void Enable();
    void Disable();
    // The stored IDs that did not load, until ForgetMissing drops them all.
    const std::vector<std::string>& GetMissing() const { return m_missing; }
    void ForgetMissing() { m_missing.clear(); }

    // OK: stores the control's key for its filter, then checks the limit, the conflicts and
    // the length of the enabled list (missing IDs included); false with the string resource of
    // the message for the user when the dialog must stay open.
    bool Confirm(unsigned& message);
    // After a successful Confirm: the manager's enabled list becomes the working list.
    void ApplyEnabledList(CFilterManager& filters) const;

private:
    void Refresh(bool refill);
    void RebuildDisabled();

    const CFilterManager& m_filters;
    DisplayNameOrder m_order;
    std::vector<CFilter*> m_enabled;
    std::vector<CFilter*> m_disabled;
    std::vector<CFilter*> m_disabledSelection;
    int m_selection = -1;
    CFilter* m_bound = nullptr;
    unsigned m_hotKeyWord = 0;
    CHotKeyManager m_hotKeys;
    std::vector<std::string> m_missing;
};
