#include "platform/exception_log.h"
#include "platform/message_loop.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> g_events;

class CCountingWnd : public Window<CCountingWnd> {
public:
    bool Create() {
        RegisterWindowClass(GetModuleHandleA(nullptr), "ZezirivLoopTestWnd");
        return CreateWindowObject(0, "ZezirivLoopTestWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  GetModuleHandleA(nullptr)) != nullptr;
    }
    ~CCountingWnd() {
        if (GetHwnd() != nullptr) {
            DestroyWindow(GetHwnd());
        }
    }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg >= WM_APP) {
            g_events.push_back("dispatch " + std::to_string(msg - WM_APP));
            return 0;
        }
        return DefaultHandling(msg, wParam, lParam);
    }
};

class CRecordingFilter : public CMessageFilter {
public:
    CRecordingFilter(std::string name, UINT claims) : m_name(std::move(name)), m_claims(claims) {}
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message < WM_APP) {
            return false;
        }
        g_events.push_back(m_name + " " + std::to_string(msg->message - WM_APP));
        return msg->message == m_claims;
    }

private:
    std::string m_name;
    UINT m_claims;
};

class CRecordingIdle : public CIdleHandler {
public:
    explicit CRecordingIdle(std::string name) : m_name(std::move(name)) {}
    void OnIdle() override { g_events.push_back("idle " + m_name); }

private:
    std::string m_name;
};

} // namespace

TEST(MessageLoop, FiltersNewestFirstAndAClaimStopsDispatch) {
    g_events.clear();
    CCountingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    CMessageLoop loop;
    CRecordingFilter older("older", WM_APP + 1);
    CRecordingFilter newer("newer", WM_APP + 2);
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&newer);

    PostMessageA(wnd.GetHwnd(), WM_APP + 1, 0, 0);
    PostMessageA(wnd.GetHwnd(), WM_APP + 2, 0, 0);
    PostMessageA(wnd.GetHwnd(), WM_APP + 3, 0, 0);
    PostQuitMessage(7);
    EXPECT_EQ(loop.Run(), 7);

    const std::vector<std::string> expected = {
        "newer 1", "older 1",                // the older filter claims 1
        "newer 2",                           // the newer one claims 2 and the older never sees it
        "newer 3", "older 3", "dispatch 3"}; // nobody claims 3
    EXPECT_EQ(g_events, expected);
}

TEST(MessageLoop, IdleHandlersRunInOrderWhenTheQueueEmptiesAndAreReArmed) {
    g_events.clear();
    CCountingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    CMessageLoop loop;
    CRecordingIdle first("first");
    CRecordingIdle second("second");
    loop.AddIdleHandler(&first);
    loop.AddIdleHandler(&second);

    // Another thread spaces the messages out so that the queue runs empty after each one.
    const HWND hwnd = wnd.GetHwnd();
    const DWORD loopThread = GetCurrentThreadId();
    std::thread poster([hwnd, loopThread] {
        Sleep(100);
        PostMessageA(hwnd, WM_MOUSEMOVE, 0, 0); // does not re-arm the idle handlers
        Sleep(100);
        PostMessageA(hwnd, WM_APP + 5, 0, 0); // does
        Sleep(100);
        PostThreadMessageA(loopThread, WM_QUIT, 0, 0);
    });
    const int code = loop.Run();
    poster.join();

    EXPECT_EQ(code, 0);
    const std::vector<std::string> expected = {"idle first", "idle second", "dispatch 5",
                                               "idle first", "idle second"};
    EXPECT_EQ(g_events, expected);
}

namespace {

class CThrowingWnd : public Window<CThrowingWnd> {
public:
    bool Create() {
        RegisterWindowClass(GetModuleHandleA(nullptr), "ZezirivThrowingWnd");
        return CreateWindowObject(0, "ZezirivThrowingWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  GetModuleHandleA(nullptr)) != nullptr;
    }
    ~CThrowingWnd() { DestroyWindow(GetHwnd()); }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_APP + 9) {
            throw std::runtime_error("broken on purpose");
        }
        return DefaultHandling(msg, wParam, lParam);
    }
};

std::string ReadLog(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TEST(ExceptionLog, AnExceptionAtAWindowIsWrittenDownAndTheLogStaysSmall) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"zeziriv_test_exceptions.log";
    DeleteFileW(path.c_str());
    SetExceptionLogPathForTesting(path);
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(SendMessageA(wnd.GetHwnd(), WM_APP + 9, 0, 0), 0);
    const std::string line = ReadLog(path);
    EXPECT_NE(line.find(" ZezirivThrowingWnd message 0x8009: broken on purpose\r\n"),
              std::string::npos)
        << line;

    // A full log starts over with the newest line.
    std::ofstream(path.c_str(), std::ios::binary) << std::string(kExceptionLogLimit, 'x');
    SendMessageA(wnd.GetHwnd(), WM_APP + 9, 0, 0);
    EXPECT_EQ(ReadLog(path).size(), line.size());
    SetExceptionLogPathForTesting({});
    DeleteFileW(path.c_str());
}
