#pragma once

// The full-screen preview of desktop and quick mode, as the tray and the hot keys reach it.
// Until the preview exists these are answered by shell/pending_features.cpp.

enum PreviewMode { PREVIEW_DESKTOP = 0, PREVIEW_QUICK = 1 };

// Opens the preview with the enabled filter at `position` (quick mode) or the filter picker
// (desktop mode); false when it refuses.
bool OpenPreview(PreviewMode mode, int position);
bool IsPreviewActive();
