#pragma once

// What the tray menu asks of the collection of filter windows. Until the filter windows exist
// these are answered by shell/pending_features.cpp.

int GetFilterWindowCount();
// Opens a filter window from the profile's default window setting.
void OpenDefaultFilterWindow();
void SaveAllWindowStatus();
void RestoreAllWindowStatus();
// Asks every open filter window to close.
void CloseAllFilterWindows();
// Tells every open filter window that the general settings changed.
void NotifyFilterWindowsSettingsChanged();
