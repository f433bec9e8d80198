#include "app/app_state.h"

void CAppState::SetOpen(AppPart part, bool open) {
    if (part != AppPart::FilterWindow) {
        m_open[static_cast<std::size_t>(part)] = open;
    }
}

OpenAnswer CAppState::Ask(AppPart part) const {
    const auto refuseIf = [](bool refused) {
        return refused ? OpenAnswer::Refuse : OpenAnswer::Open;
    };
    const auto forwardOr = [this, part](OpenAnswer otherwise) {
        return IsOpen(part) ? OpenAnswer::BringForward : otherwise;
    };
    switch (part) {
    case AppPart::AboutBox:
        return forwardOr(OpenAnswer::Open);
    case AppPart::GeneralSetting:
        return forwardOr(refuseIf(IsOpen(AppPart::FilterSetting)));
    case AppPart::FilterSetting:
        // The enabled list must not change under a view that shows one of its filters.
        return forwardOr(
            refuseIf(IsOpen(AppPart::GeneralSetting) || IsViewOpen() || m_filterWindows > 0));
    case AppPart::DesktopView:
        // A setting dialog owns the hot keys and the filter list; one view at a time.
        return IsSettingOpen() ? OpenAnswer::Refuse
                               : forwardOr(refuseIf(IsOpen(AppPart::QuickView)));
    case AppPart::QuickView:
        return refuseIf(IsSettingOpen() || IsViewOpen());
    case AppPart::FilterWindow:
        return refuseIf(IsOpen(AppPart::FilterSetting) || m_filterWindows >= kMaxFilterWindows);
    }
    return OpenAnswer::Refuse;
}

TrayMenuState CAppState::GetTrayMenuState() const {
    // A modal setting dialog or the full-screen view owns the hot keys and the filter list.
    const bool busy = IsSettingOpen() || IsViewOpen();
    TrayMenuState state;
    state.desktopView = !busy;
    state.quickView = !busy;
    state.generalSetting = !busy;
    state.filterSetting = Ask(AppPart::FilterSetting) == OpenAnswer::Open;
    // Offered even at the limit of windows, where the command then does nothing.
    state.openNewWindow = !IsOpen(AppPart::FilterSetting);
    return state;
}

CAppState& GetAppState() {
    static CAppState state;
    return state;
}
