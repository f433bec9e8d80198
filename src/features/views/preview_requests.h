#pragma once

// The full-screen preview of desktop and quick mode, as the tray and the hot keys reach it
// (features/views/preview_wnd.cpp).

#include "features/views/preview_state.h"

// Opens the preview with the enabled filter at `position` (quick mode) or the filter picker
// (desktop mode). False when it refuses: a setting dialog is open, the screen has 8 bits per
// pixel or fewer, the position names no enabled filter, a quick view is asked for while a view
// is open, or the window cannot be created.
bool OpenPreview(PreviewMode mode, int position);
// True while a quick or desktop view exists.
bool IsPreviewActive();
// Closes the view, if any, so that its panel's rectangle reaches the profile before the
// profile is written at program end.
void DestroyPreview();
// Puts an open panel's rectangle into the profile, for a profile written while it is open.
void StorePreviewPanelRect();
