#pragma once

// What the tray menu and the program's shutdown ask of the collection of filter windows.

int GetFilterWindowCount();
// Opens a filter window from the profile's default window setting.
void OpenDefaultFilterWindow();
void SaveAllWindowStatus();
void RestoreAllWindowStatus();
// Asks every open filter window to close.
void CloseAllFilterWindows();
// Tells every open filter window that the general settings changed.
void NotifyFilterWindowsSettingsChanged();
// Destroys every open filter window at once, each storing its record as a normal close does,
// so that the profile saved at the end of the run holds the last one.
void DestroyAllFilterWindows();
// Stores in the profile what destroying every window would store, leaving them open (the end
// of the log-on session, which may be cancelled).
void StoreFilterWindowRecords();
