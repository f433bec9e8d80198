#include "app/preview_owner.h"

#include "app/about_dlg.h"
#include "app/app_profile.h"
#include "app/app_state.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/gdi_screen_source.h"

namespace {

PreviewOptions PreviewOptionsOf(const CAppProfile& profile) {
    PreviewOptions options;
    options.quickWaitingTime = profile.GetQuickWaitingTime();
    options.blurRadius = CCaptureImage::BlurRadiusOf(profile.GetBlurRadius());
    options.lookAlikeDistance = profile.GetLookAlikeDistance();
    options.fitPanelHeight = profile.IsAdjustInitialPanelHeight();
    options.panelRect = profile.GetDesktopPanelRect();
    options.allMonitors = profile.IsViewAllMonitors();
    return options;
}

// The view keeps its panel's rectangle in the profile and its being open in the state.
class CPreviewOwner : public IPreviewOwner {
public:
    void StorePanelRect(const IntRect& rect) override { GetAppProfile().SetDesktopPanelRect(rect); }
    void OnPreviewClosed() override {
        CAppState& state = GetAppState();
        state.SetOpen(AppPart::DesktopView, false);
        state.SetOpen(AppPart::QuickView, false);
    }
};

} // namespace

CPreviewWnd& GetPreviewWnd() {
    static CPreviewOwner owner;
    static CPreviewWnd preview(GetGdiScreenSource(), GetFilterManager(), owner);
    return preview;
}

bool OpenPreview(PreviewMode mode, int position) {
    CAppState& state = GetAppState();
    const AppPart part = mode == PREVIEW_DESKTOP ? AppPart::DesktopView : AppPart::QuickView;
    const OpenAnswer answer = state.Ask(part);
    // A setting dialog refuses a view outright; past it, even a request that another view then
    // refuses closes the About box.
    if (state.IsSettingOpen() || !CPreviewWnd::CanShowFilteredColours()) {
        return false;
    }
    CAboutDlg::Close();
    CPreviewWnd& preview = GetPreviewWnd();
    if (answer == OpenAnswer::BringForward) {
        return preview.BringPanelForward();
    }
    if (answer == OpenAnswer::Refuse) {
        return false;
    }
    // Open from before the window exists: a message box of its creation runs a loop in which a
    // second request must find it. A window that came and went has said so already.
    state.SetOpen(part, true);
    const bool opened = preview.Open(mode, position, PreviewOptionsOf(GetAppProfile()));
    if (preview.GetHwnd() == nullptr) {
        state.SetOpen(part, false);
    }
    return opened;
}

void ApplySettingsToPreview() {
    GetPreviewWnd().SetOptions(PreviewOptionsOf(GetAppProfile()));
}
