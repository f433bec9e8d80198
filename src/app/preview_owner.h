#pragma once

// The run's one quick or desktop view, as the tray, the hot keys and the program's end reach it.

#include "features/views/preview_wnd.h"

// The view over the GDI screen and the process's filters, owned by the application.
CPreviewWnd& GetPreviewWnd();

// Opens the view with the enabled filter at `position` (quick) or the panel (desktop), as the
// application state allows; a desktop view already open brings its panel forward. Closes an open
// About box first. False when nothing opened or came forward.
bool OpenPreview(PreviewMode mode, int position);

// The general settings changed: an open view takes them.
void ApplySettingsToPreview();
