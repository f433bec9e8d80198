#pragma once

#include "features/views/panel_geometry.h"
#include "platform/message_loop.h"
#include "platform/window.h"
#include "resource.h"

#include <functional>

class CFilterManager;

// The desktop view's filter panel: a small captioned window, owned by the full-screen
// preview, listing the enabled filters above the "Highlight look-alikes" box and a Close button.
// Picking a filter asks the owner to show it, the box to highlight or not; every way of closing
// the panel asks the owner to close the whole view. While it
// exists it sees every message of the thread's loop first, for the dialog keys and the digits.
class CFilterPanel : public Window<CFilterPanel>, public CMessageFilter {
public:
    static constexpr const char* kClassName = "ZezirivOperateWnd";
    static constexpr int kListId = IDC_PANEL_FILTERS;
    static constexpr int kButtonId = IDC_PANEL_CLOSE;
    static constexpr int kCheckId = IDC_PANEL_HIGHLIGHT;

    CFilterPanel() = default;
    ~CFilterPanel() override;

    using RectStore = std::function<void(const IntRect& rect)>;

    // Creates the panel over the stored rectangle, moved onto the monitor, listing the manager's
    // enabled filters (which must outlive the panel), its height fitted to them when `fitHeight`;
    // false (after telling the user when a control failed) when the panel or one of its controls
    // could not be created. `store` takes the panel's rectangle when it is destroyed.
    bool Create(HWND owner, const CFilterManager& filters, const IntRect& storedRect,
                const IntRect& monitor, bool fitHeight, RectStore store);
    void Destroy();
    // Created whole and not yet being destroyed.
    bool IsReady() const { return m_layoutEnabled; }
    // Hands the panel's window rectangle to the store now (done anyway at destruction).
    void StoreRect();
    // The "Highlight look-alikes" box, as the view turns highlighting on by a click.
    void SetHighlightChecked(bool on);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PreTranslateMessage(MSG* msg) override;

private:
    bool OnCreate();
    bool CreateControls();
    void FillList();
    void FitHeight();
    void Layout(int clientWidth, int clientHeight);
    // The panel's font for the dpi: one made for it, or the stock font at the system's dpi.
    HFONT SetFontForDpi(int dpi);
    void MeasureHeights(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDestroy();
    void OnCommand(int id, int code);
    void OnPaint();
    void SelectFromDigit(int item);
    void PostCloseToOwner();

    const CFilterManager* m_filters = nullptr;
    bool m_fitHeight = true;
    RectStore m_store;
    HWND m_list = nullptr;
    HWND m_button = nullptr;
    HWND m_check = nullptr;
    int m_fontUnit = 0;
    // The font made for a monitor whose dpi is not the system's; null: the stock font.
    HFONT m_font = nullptr;
    bool m_layoutEnabled = false;
    PanelMetrics m_metrics;
    // The loop the panel filters messages of, from creation to destruction.
    CMessageLoop* m_loop = nullptr;
};
