#pragma once

#include <windows.h>

#include <map>
#include <vector>

// A component that looks at each message before it is dispatched; true claims it.
class CMessageFilter {
public:
    virtual ~CMessageFilter() = default;
    virtual bool PreTranslateMessage(MSG* msg) = 0;
};

// A component that works while the queue is empty.
class CIdleHandler {
public:
    virtual ~CIdleHandler() = default;
    virtual void OnIdle() = 0;
};

// The program's message loop. Filters are asked newest first; idle handlers run in
// registration order once each time the queue runs empty after a message that can change what
// they show (anything but mouse moves, paints and the system timer).
class CMessageLoop {
public:
    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler);
    void RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its code.
    int Run();

    // Offers the message to the filters; true when one claimed it.
    bool PreTranslateMessage(MSG* msg);
    void RunIdleHandlers();
    static bool IsIdleMessage(const MSG& msg);

private:
    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
};

// Owner of the message loops, one per thread, and of the instance handle.
class CAppModule {
public:
    void Init(HINSTANCE instance);
    void Term();
    HINSTANCE GetInstance() const { return m_instance; }

    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    // The loop of the calling thread, or null.
    CMessageLoop* GetMessageLoop() const;

private:
    HINSTANCE m_instance = nullptr;
    std::map<DWORD, CMessageLoop*> m_loops;
};

CAppModule& GetAppModule();
