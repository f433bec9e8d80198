#pragma once

#include "platform/window.h"

// The start-up picture: a topmost tool window centred in the work area that closes itself
// after 2500 ms. It owns itself and is deleted after its last message.
class CSplashWnd : public Window<CSplashWnd> {
public:
    static constexpr const char* kClassName = "ZezirivSplashWnd";
    static constexpr UINT_PTR kCloseTimerId = 100;
    static constexpr UINT kShowMilliseconds = 2500;

    // Creates the window; on failure the object is already deleted and false is returned.
    static bool Create(HINSTANCE instance);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();

private:
    CSplashWnd() = default;
    ~CSplashWnd();

    bool OnCreate();
    void OnPaint();

    HINSTANCE m_instance = nullptr;
    HBITMAP m_bitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// Shows the splash and returns at once.
void ShowSplash();
