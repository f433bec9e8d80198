#include "features/views/preview_state.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "platform/tick_count.h"

PreviewStep CPreviewState::Begin(PreviewMode mode, int initialIndex) {
    m_mode = mode;
    m_closing = false;
    m_status.SetLimitedRepeat(IsQuick());
    m_waiting = false;
    m_status.ResetSelection();
    m_status.SelectIndex(IsQuick() ? initialIndex : 0);
    return Show(m_status.GetSelectedFilter());
}

PreviewStep CPreviewState::Show(const CFilter* filter) {
    PreviewStep step;
    step.show = true;
    if (filter == nullptr || !filter->IsReferenceFilter()) {
        step.filter = filter;
        StartWaiting();
        return step;
    }
    m_status.StartSequence();
    // A reference filter without members, or one that quick mode plays no pass of (negative
    // Repeat), has nothing to show: the capture is shown as it is, not what was shown before.
    step.filter = m_status.IsSequenceDue() ? m_status.AdvanceSequence() : nullptr;
    return step;
}

void CPreviewState::StartWaiting() {
    if (!m_waiting) {
        m_waitingStart = GetTickCount32();
        m_waiting = true;
    }
}

PreviewStep CPreviewState::Tick(std::uint32_t waitingTime) {
    PreviewStep step;
    if (m_closing) {
        return step;
    }
    if (IsQuick() && m_waiting) {
        if (GetTickCount32() - m_waitingStart >= waitingTime) {
            m_closing = true;
            step.close = true;
        }
        return step;
    }
    const CFilter* selected = m_status.GetSelectedFilter();
    if (selected == nullptr || !selected->IsReferenceFilter()) {
        return step;
    }
    if (m_status.IsSequenceDue()) {
        if (const CFilter* member = m_status.AdvanceSequence()) {
            step.show = true;
            step.filter = member;
        }
        return step;
    }
    // The last member of the last pass stays up for the waiting time, not for its own timeout.
    if (IsQuick() && !m_status.IsSequenceRunning()) {
        StartWaiting();
    }
    return step;
}

PreviewStep CPreviewState::Select(int position) {
    if (position == m_status.GetSelectedIndex() || position < 0 ||
        position >= m_filters.GetEnabledCount()) {
        return PreviewStep{};
    }
    m_status.SelectIndex(position);
    return Show(m_status.GetSelectedFilter());
}
