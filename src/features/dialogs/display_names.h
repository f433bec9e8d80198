#pragma once

#include <functional>
#include <string>

// The names the general setting dialog lists: colour display formats 0..4 (IDS_FORMAT_*) and
// image qualities low, normal, high (IDS_QUALITY_*). Loaded once at start-up so a
// language library can replace them.
constexpr int kColorFormatCount = 5;
void LoadDialogDisplayNames(const std::function<bool(unsigned id, std::string& text)>& load);

// Empty for an index outside the list or a string that could not be loaded.
const std::string& GetColorFormatName(int format);
const std::string& GetImageQualityName(int index);
