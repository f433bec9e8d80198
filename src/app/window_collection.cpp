#include "app/window_collection.h"

#include "app/app_profile.h"
#include "app/app_state.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/gdi_screen_source.h"
#include "features/app_messages.h"
#include "platform/monitor_layout.h"
#include "platform/utilities.h"
#include "resource.h"

#include <algorithm>

namespace {

void CALLBACK OnRefreshTimer(HWND, UINT, UINT_PTR, DWORD) {
    GetWindowCollection().RefreshTick();
}

} // namespace

CWindowCollection& GetWindowCollection() {
    static CWindowCollection collection;
    return collection;
}

void CWindowCollection::ReportCountToState() {
    GetAppState().SetFilterWindowCount(GetCount());
}

CWindowRefresh& CWindowCollection::Refresh() {
    if (!m_refresh) {
        m_refresh = std::make_unique<CWindowRefresh>(
            m_screenForTesting != nullptr ? *m_screenForTesting : GetGdiScreenSource());
    }
    return *m_refresh;
}

void CWindowCollection::SetScreenSourceForTesting(IScreenSource* source) {
    if (m_refresh && m_refresh->GetCount() != 0) {
        return;
    }
    m_screenForTesting = source;
    m_refresh.reset();
}

void CWindowCollection::UpdateTimer() {
    const bool wanted = Refresh().GetCount() != 0;
    if (wanted && m_timer == 0) {
        // A thread timer: no window of its own, and none of the windows is the collection's.
        m_timer = SetTimer(nullptr, 0, CWindowRefresh::kTickMilliseconds, &OnRefreshTimer);
    } else if (!wanted && m_timer != 0) {
        KillTimer(nullptr, m_timer);
        m_timer = 0;
    }
}

void CWindowCollection::RefreshTick() {
    // Twenty windows asking the system for the pointer and the keys at every capture cost more
    // than the rest of a still tick.
    POINT cursor{};
    m_tickInput.pointerRead = GetCursorPos(&cursor) != FALSE;
    m_tickInput.pointer = {cursor.x, cursor.y};
    m_tickInput.shift = GetKeyState(VK_SHIFT) < 0;
    m_tickInput.valid = true;
    Refresh().Tick();
    m_tickInput.valid = false;
}

bool CWindowCollection::GetPointer(IntPoint& point) const {
    if (m_tickInput.valid) {
        point = m_tickInput.pointer;
        return m_tickInput.pointerRead;
    }
    POINT cursor{};
    if (!GetCursorPos(&cursor)) {
        return false;
    }
    point = {cursor.x, cursor.y};
    return true;
}

bool CWindowCollection::IsShiftDown() const {
    return m_tickInput.valid ? m_tickInput.shift : GetKeyState(VK_SHIFT) < 0;
}

bool CWindowCollection::OpenFilterWindow(const CWindowSetting* setting) {
    if (GetAppState().Ask(AppPart::FilterWindow) != OpenAnswer::Open) {
        return true;
    }
    const CAppProfile& profile = GetAppProfile();
    const CWindowSetting record = setting != nullptr ? *setting : profile.GetWindowSetting();

    DWORD exStyle = 0;
    if (profile.IsWindowUnvisibleTaskBar()) {
        exStyle |= WS_EX_TOOLWINDOW;
    }
    if (record.Topmost) {
        exStyle |= WS_EX_TOPMOST;
    }
    const IntRect placement =
        m_cascade.Place(record.WindowRect, setting != nullptr, GetSystemMetrics(SM_CYCAPTION),
                        GetSystemMonitorLayout());
    CFilterWnd* window = CFilterWnd::Open(*this, GetFilterManager(), record, placement, exStyle);
    if (window == nullptr) {
        return false;
    }
    m_windows.push_back(window);
    Refresh().Add(window->GetModel());
    UpdateTimer();
    ReportCountToState();
    return true;
}

void CWindowCollection::PostToAllWindows(UINT message, WPARAM value) {
    for (const CFilterWnd* window : m_windows) {
        PostMessageA(window->GetHwnd(), message, value, 0);
    }
}

void CWindowCollection::CloseAllWindows() {
    PostToAllWindows(WM_CLOSE, 0);
}

void CWindowCollection::SaveAllWindowStatus() {
    if (m_windows.empty()) {
        return;
    }
    std::vector<CWindowSetting> records;
    for (const CFilterWnd* window : m_windows) {
        records.push_back(window->GetWindowSetting());
    }
    GetAppProfile().SetMultiWindowSettings(records);
}

void CWindowCollection::RestoreAllWindowStatus() {
    // A copy: opening windows must not read a list that something else may change.
    const std::vector<CWindowSetting> records = GetAppProfile().GetMultiWindowSettings();
    if (records.empty()) {
        return;
    }
    // The replaced windows close as they are forgotten: no longer listed, they store nothing.
    CloseAllWindows();
    for (CFilterWnd* window : m_windows) {
        Refresh().Remove(window->GetModel());
    }
    m_windows.clear();
    ReportCountToState();
    for (const CWindowSetting& record : records) {
        OpenFilterWindow(&record);
    }
    UpdateTimer();
}

void CWindowCollection::DestroyAllWindows() {
    // Each destruction removes its window from the list.
    while (!m_windows.empty()) {
        const std::size_t before = m_windows.size();
        DestroyWindow(m_windows.front()->GetHwnd());
        if (m_windows.size() == before) {
            Refresh().Remove(m_windows.front()->GetModel());
            m_windows.erase(m_windows.begin());
            ReportCountToState();
        }
    }
    UpdateTimer();
}

void CWindowCollection::StoreLastRecord() {
    // Destroyed in list order, the last window's record would be the one that stays.
    if (!m_windows.empty()) {
        GetAppProfile().SetWindowSetting(m_windows.back()->GetWindowSetting());
    }
}

FilterWindowOptions CWindowCollection::GetFilterWindowOptions() const {
    const CAppProfile& profile = GetAppProfile();
    FilterWindowOptions options;
    options.updateInterval = profile.GetWindowUpdateInterval();
    options.colorDisplayFormat = static_cast<int>(profile.GetWindowColorDisplayFormat());
    options.showOriginalColorInfo = profile.IsWindowShowOriginalColorInfo();
    options.simpleStatusbar = profile.IsWindowSimpleStatusbarInfo();
    options.leftTopOrigin = profile.IsWindowLeftTopOrigin();
    options.blurRadius = CCaptureImage::BlurRadiusOf(profile.GetBlurRadius());
    options.copyColorFormat = profile.GetCopyColorFormat();
    options.lookAlikeDistance = profile.GetLookAlikeDistance();
    options.highlightLookAlikes = profile.IsWindowHighlightLookAlikes();
    options.lookAlikeLabel = LoadResString(IDS_LOOK_ALIKES);
    return options;
}

void CWindowCollection::OnHighlightChosen(bool on) {
    GetAppProfile().SetWindowHighlightLookAlikes(on);
}

void CWindowCollection::OpenTwin(const CWindowSetting& record) {
    GetAppProfile().SetWindowSetting(record);
    m_cascade.SetOrigin(record.WindowRect, true);
    OpenFilterWindow(nullptr);
}

void CWindowCollection::OnWindowDestroyed(const CFilterWnd* window, const CWindowSetting& record) {
    // Forgotten windows (a restore's) left the refresh already; a listed one leaves it now.
    Refresh().Remove(window->GetModel());
    UpdateTimer();
    const auto listed = std::find(m_windows.begin(), m_windows.end(), window);
    if (listed == m_windows.end()) {
        return;
    }
    GetAppProfile().SetWindowSetting(record);
    m_cascade.SetOrigin(record.WindowRect, false);
    m_windows.erase(listed);
    ReportCountToState();
}
