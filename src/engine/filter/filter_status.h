#pragma once

#include <cstdint>

class CFilter;
class CFilterManager;

// The filter a view shows: its selection in the manager's enabled list and, for a reference
// filter, the playback of its members. One per view; copyable.
class CFilterStatus {
public:
    // The manager must outlive the status.
    explicit CFilterStatus(const CFilterManager& filters) : m_filters(&filters) {}
    CFilterStatus(const CFilterStatus&) = default;
    CFilterStatus& operator=(const CFilterStatus&) = default;
    virtual ~CFilterStatus() = default;

    void ResetSelection();
    // Takes the position only when the enabled list has it.
    void SelectIndex(int index);
    int GetSelectedIndex() const { return m_selectedIndex; }
    // The enabled filter at the selected position, looked up afresh; "_normal" when the
    // position names none (the enabled list changed under the view).
    CFilter* GetSelectedFilter() const;

    // Quick mode plays a reference filter Repeat times (at least once); elsewhere it loops.
    void SetLimitedRepeat(bool limited) { m_limited = limited ? 1 : 0; }
    void StartSequence();
    bool IsSequenceRunning() const;
    bool IsSequenceDue() const;
    // The member to show now, or null when nothing is due.
    CFilter* AdvanceSequence();
    CFilter* GetShownFilter() const { return m_shownFilter; }

private:
    // The reference filter being played: the selected filter when it is one.
    CFilter* SequenceFilter() const;

    const CFilterManager* m_filters;
    int m_limited = 0;
    int m_selectedIndex = 0;
    CFilter* m_selectedFilter = nullptr;
    int m_repeatLimit = 0;
    int m_passes = 0;
    int m_memberIndex = 0;
    int m_timeout = 0;
    CFilter* m_shownFilter = nullptr;
    std::uint32_t m_startTick = 0;
};
