#pragma once

#include "platform/geometry.h"

#include <cstdint>
#include <string>
#include <string_view>

// The persisted state of one filter window. FixedPoint stays (0, 0) while FixPosition is clear.
class CWindowSetting {
public:
    static constexpr int MinZoom = -3;
    static constexpr int MaxZoom = 20;
    static constexpr int DefaultZoom = 1;
    // Record texts of this length or more are refused; a formatted record is always shorter.
    static constexpr std::size_t MaxTextLength = 512;

    CWindowSetting() = default;
    CWindowSetting(const CWindowSetting& other);
    CWindowSetting& operator=(const CWindowSetting& other);
    virtual ~CWindowSetting() = default;

    void SetFixedPoint(bool fix, IntPoint point);

    std::string FilterID;
    std::int32_t Zoom = DefaultZoom;
    bool MarkCenter = false;
    bool Topmost = false;
    IntRect WindowRect; // all 0: no rectangle stored
    bool FixPosition = false;
    IntPoint FixedPoint;
    bool ShowStatusbar = true;
};

// "zoom,mark,topmost,fix,x,y,statusbar,left,top,width,height,filterID"
std::string FormatSetting(const CWindowSetting& setting);

// Resets the record to the defaults, then fills it from the text. Fails, leaving the defaults,
// when the text is 512 characters or longer or does not give all twelve fields.
bool ParseSetting(std::string_view text, CWindowSetting& setting);
