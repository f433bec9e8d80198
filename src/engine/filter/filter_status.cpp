#include "engine/filter/filter_status.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "platform/tick_count.h"

void CFilterStatus::ResetSelection() {
    m_selectedIndex = 0;
    m_selectedFilter = nullptr;
}

void CFilterStatus::SelectIndex(int index) {
    if (index < 0 || index >= m_filters->GetEnabledCount()) {
        return;
    }
    m_selectedIndex = index;
    m_selectedFilter = m_filters->GetEnabledFilter(index);
}

CFilter* CFilterStatus::GetSelectedFilter() const {
    if (CFilter* filter = m_filters->GetEnabledFilter(m_selectedIndex)) {
        return filter;
    }
    return m_filters->GetNormalFilter();
}

CFilter* CFilterStatus::SequenceFilter() const {
    if (m_selectedFilter == nullptr || !m_selectedFilter->IsReferenceFilter()) {
        return nullptr;
    }
    return m_selectedFilter;
}

void CFilterStatus::StartSequence() {
    const CFilter* filter = SequenceFilter();
    if (filter == nullptr) {
        return;
    }
    m_repeatLimit = filter->GetRepeat();
    if (!m_limited) {
        m_repeatLimit = 0;
    } else if (m_repeatLimit == 0) {
        m_repeatLimit = 1;
    }
    m_passes = 0;
    m_memberIndex = 0;
    m_timeout = 0;
    m_startTick = GetTickCount32();
}

bool CFilterStatus::IsSequenceRunning() const {
    const CFilter* filter = SequenceFilter();
    if (filter == nullptr || m_memberIndex >= filter->GetRefCount()) {
        return false;
    }
    return m_repeatLimit == 0 || m_passes < m_repeatLimit;
}

bool CFilterStatus::IsSequenceDue() const {
    if (!IsSequenceRunning()) {
        return false;
    }
    // Signed difference, so the comparison survives the tick counter's wrap.
    const auto elapsed = static_cast<std::int32_t>(GetTickCount32() - m_startTick);
    return elapsed >= m_timeout;
}

CFilter* CFilterStatus::AdvanceSequence() {
    if (!IsSequenceDue()) {
        return nullptr;
    }
    const CFilter* filter = SequenceFilter();
    CFilterRef member;
    filter->GetRef(m_memberIndex, member);
    m_timeout = member.GetTimeout();
    ++m_memberIndex;
    if (m_memberIndex >= filter->GetRefCount()) {
        m_memberIndex = 0;
        if (m_repeatLimit != 0) {
            ++m_passes;
        }
    }
    m_startTick = GetTickCount32();
    m_shownFilter = member.GetFilter();
    return m_shownFilter;
}
