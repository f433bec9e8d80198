#include "app/app_state.h"

namespace {
bool g_ending = false;
}

bool IsAppEnding() {
    return g_ending;
}
void SetAppEnding() {
    g_ending = true;
}
