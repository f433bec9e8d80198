#pragma once

#include "features/views/panel_geometry.h"
#include "platform/message_loop.h"
#include "platform/window.h"
#include "resource.h"

// The desktop view's operating panel: a small captioned window, owned by the full-screen
// preview, listing the enabled filters above a Close button. Picking a filter asks the owner to
// show it; every way of closing the panel asks the owner to close the whole view. While it
// exists it sees every message of the thread's loop first, for the dialog keys and the digits.
class CFilterPanel : public Window<CFilterPanel>, public CMessageFilter {
public:
    static constexpr const char* kClassName = "ZezirivOperateWnd";
    static constexpr int kListId = IDC_PANEL_FILTERS;
    static constexpr int kButtonId = IDC_PANEL_CLOSE;

    CFilterPanel() = default;
    ~CFilterPanel() override;

    // Creates the panel over the profile's stored rectangle; false (after telling the user when
    // a control failed) when the panel or one of its controls could not be created.
    bool Create(HWND owner);
    void Destroy();
    // Puts the panel's window rectangle into the profile (done anyway at destruction).
    void StoreRect();

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PreTranslateMessage(MSG* msg) override;

private:
    bool OnCreate();
    bool CreateControls();
    void FillList();
    void FitHeight();
    void Layout(int clientWidth, int clientHeight);
    void OnDestroy();
    void OnCommand(int id, int code);
    void OnPaint();
    void SelectFromDigit(int item);
    void PostCloseToOwner();

    HWND m_list = nullptr;
    HWND m_button = nullptr;
    int m_fontUnit = 0;
    bool m_layoutEnabled = false;
    PanelMetrics m_metrics;
    // The loop the panel filters messages of, from creation to destruction.
    CMessageLoop* m_loop = nullptr;
};
