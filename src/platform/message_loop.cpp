#include "platform/message_loop.h"

#include <algorithm>

namespace {
constexpr UINT kSystemTimerMessage = 0x0118;
}

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
    if (filter != nullptr) {
        m_filters.push_back(filter);
    }
}

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
    auto it = std::find(m_filters.begin(), m_filters.end(), filter);
    if (it != m_filters.end()) {
        m_filters.erase(it);
    }
}

void CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
    if (handler != nullptr) {
        m_idleHandlers.push_back(handler);
    }
}

void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
    auto it = std::find(m_idleHandlers.begin(), m_idleHandlers.end(), handler);
    if (it != m_idleHandlers.end()) {
        m_idleHandlers.erase(it);
    }
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
    // A filter may unregister itself (or another) while it runs: walk a snapshot.
    const std::vector<CMessageFilter*> filters = m_filters;
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        if (std::find(m_filters.begin(), m_filters.end(), *it) == m_filters.end()) {
            continue;
        }
        if ((*it)->PreTranslateMessage(msg)) {
            return true;
        }
    }
    return false;
}

void CMessageLoop::RunIdleHandlers() {
    const std::vector<CIdleHandler*> handlers = m_idleHandlers;
    for (CIdleHandler* handler : handlers) {
        if (std::find(m_idleHandlers.begin(), m_idleHandlers.end(), handler) !=
            m_idleHandlers.end()) {
            handler->OnIdle();
        }
    }
}

bool CMessageLoop::IsIdleMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kSystemTimerMessage:
        return false;
    default:
        return true;
    }
}

int CMessageLoop::Run() {
    bool idleArmed = true;
    MSG msg{};
    for (;;) {
        if (idleArmed && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleHandlers();
            idleArmed = false;
        }
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (got == 0) {
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (IsIdleMessage(msg)) {
            idleArmed = true;
        }
    }
    return static_cast<int>(msg.wParam);
}

void CAppModule::Init(HINSTANCE instance) {
    m_instance = instance;
}

void CAppModule::Term() {
    m_loops.clear();
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop) {
    if (loop == nullptr) {
        return false;
    }
    return m_loops.emplace(GetCurrentThreadId(), loop).second;
}

bool CAppModule::RemoveMessageLoop() {
    return m_loops.erase(GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop() const {
    auto it = m_loops.find(GetCurrentThreadId());
    return it != m_loops.end() ? it->second : nullptr;
}

CAppModule& GetAppModule() {
    static CAppModule module;
    return module;
}
