#pragma once

// The ending flag: set once the program has begun to end (Exit, or the end of the log-on
// session) and never cleared. Hot keys are not registered again after it is set.
bool IsAppEnding();
void SetAppEnding();
