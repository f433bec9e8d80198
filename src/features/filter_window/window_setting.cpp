#include "features/filter_window/window_setting.h"

#include "platform/text_util.h"

#include <cstdio>

CWindowSetting::CWindowSetting(const CWindowSetting& other)
    : FilterID(other.FilterID), Zoom(other.Zoom), MarkCenter(other.MarkCenter),
      Topmost(other.Topmost), WindowRect(other.WindowRect), ShowStatusbar(other.ShowStatusbar) {
    SetFixedPoint(other.FixPosition, other.FixedPoint);
}

CWindowSetting& CWindowSetting::operator=(const CWindowSetting& other) {
    FilterID = other.FilterID;
    Zoom = other.Zoom;
    MarkCenter = other.MarkCenter;
    Topmost = other.Topmost;
    WindowRect = other.WindowRect;
    ShowStatusbar = other.ShowStatusbar;
    SetFixedPoint(other.FixPosition, other.FixedPoint);
    return *this;
}

void CWindowSetting::SetFixedPoint(bool fix, IntPoint point) {
    FixPosition = fix;
    FixedPoint = fix ? point : IntPoint{};
}

std::string FormatSetting(const CWindowSetting& setting) {
    char numbers[160];
    const IntRect& r = setting.WindowRect;
    std::snprintf(numbers, sizeof numbers, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,", setting.Zoom,
                  setting.MarkCenter ? 1 : 0, setting.Topmost ? 1 : 0, setting.FixPosition ? 1 : 0,
                  setting.FixedPoint.x, setting.FixedPoint.y, setting.ShowStatusbar ? 1 : 0, r.left,
                  r.top, WrappingSub(r.right, r.left), WrappingSub(r.bottom, r.top));
    std::string text(numbers);
    // Filter IDs are at most 40 characters; a longer one is cut so that the record still reads
    // back (the reader refuses 512 characters and more).
    const std::size_t room = CWindowSetting::MaxTextLength - 1 - text.size();
    text.append(setting.FilterID, 0, room);
    return text;
}

bool ParseSetting(std::string_view text, CWindowSetting& setting) {
    setting = CWindowSetting();
    if (text.size() >= CWindowSetting::MaxTextLength) {
        return false;
    }
    std::int32_t field[11];
    for (int i = 0; i < 11; ++i) {
        if (!ScanInt32(text, field[i]) || !ScanLiteral(text, ',')) {
            return false;
        }
    }
    // The ID is the first run of non-blank characters after the last comma.
    std::size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) {
        ++begin;
    }
    std::size_t end = begin;
    while (end < text.size() && !IsBlank(text[end]) && text[end] != '\0') {
        ++end;
    }
    if (end == begin) {
        return false;
    }

    setting.Zoom = (field[0] >= CWindowSetting::MinZoom && field[0] <= CWindowSetting::MaxZoom)
                       ? field[0]
                       : CWindowSetting::DefaultZoom;
    setting.MarkCenter = field[1] == 1;
    setting.Topmost = field[2] == 1;
    setting.SetFixedPoint(field[3] == 1, IntPoint{field[4], field[5]});
    setting.ShowStatusbar = field[6] == 1;
    setting.WindowRect = IntRect{field[7], field[8], WrappingAdd(field[7], field[9]),
                                 WrappingAdd(field[8], field[10])};
    setting.FilterID.assign(text.substr(begin, end - begin));
    return true;
}
