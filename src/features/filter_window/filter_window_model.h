#pragma once

#include "engine/filter/filter_status.h"
#include "engine/image/capture_image.h"
#include "engine/image/look_alike.h"
#include "engine/image/screen_copy.h"
#include "features/filter_window/filter_window_geometry.h"
#include "features/filter_window/window_setting.h"

#include <cstdint>
#include <string>
#include <vector>

class CFilterManager;

// The general settings a filter window reads, as the application hands them to it; the window
// takes them afresh when the settings change.
struct FilterWindowOptions {
    std::uint32_t updateInterval = 100; // milliseconds from one capture to the next
    int colorDisplayFormat = 0;         // the status bar's colour value format, 0-4
    bool showOriginalColorInfo = false; // the status bar tells the colour before filtering
    bool simpleStatusbar = false;       // this and the next: fixed for a window once it opens
    bool leftTopOrigin = false;
    int blurRadius = 0; // 0: none
    std::string copyColorFormat;
    double lookAlikeDistance = kDefaultLookAlikeDistance; // CIEDE2000
    bool highlightLookAlikes = false; // the last choice, which a window starts with
    // The status bar's word for the share of look-alike pixels, in the user's language.
    std::string lookAlikeLabel = "Look-alikes";
};

// What the filter window logic needs of its window: questions about the screen and the window,
// and the few effects it has on them. The Win32 window answers in the program; tests answer
// with a recorder.
class IFilterWindowHost {
public:
    virtual ~IFilterWindowHost() = default;
    virtual bool IsMinimized() const = 0;
    // False when the cursor position cannot be read.
    virtual bool GetCursorPosition(IntPoint& point) const = 0;
    virtual PixelSize GetPictureArea() const = 0;
    virtual bool IsShiftDown() const = 0;
    // Writes one status bar part; only called while the status bar is shown.
    virtual void SetStatusText(int part, const std::string& text) = 0;
    virtual void InvalidatePicture() = 0;
    virtual void SetTitle(const std::string& title) = 0;
};

// What a window's picture and status bar are made from, besides the captured pixels. A refresh
// over unchanged pixels whose key equals the last paint's redoes nothing. An option that changes
// the picture belongs in `picture` (a further pixel pass adds its options there); one that
// changes only the status bar's texts in `status`.
struct RefreshKey {
    struct Picture {
        const CFilter* filter = nullptr; // the filter shown: a sequence's current member
        int blurRadius = 0;
        int zoom = 0;
        bool markCenter = false;
        PixelSize area;
        bool highlight = false;
        double lookAlikeDistance = 0; // 0 while highlighting is off
        friend bool operator==(const Picture&, const Picture&) = default;
    };
    struct Status {
        IntPoint referencePoint;
        bool shift = false;
        bool showOriginalColorInfo = false;
        int colorDisplayFormat = 0;
        bool showStatusbar = false;
        friend bool operator==(const Status&, const Status&) = default;
    };
    Picture picture;
    Status status;
};

// The state of one filter window and every step that does not touch Win32: its part of the
// refresh tick (CWindowRefresh drives every window's from one screen copy), the capture around
// the reference point, filtering, the status bar's texts (only parts whose content changed are
// written), filter selection with reference-filter playback, and the window-setting record.
// Options that the user may change while the window is open are read each time they are used.
class CFilterWindowModel {
public:
    // The filters (whose enabled list the window picks from, and whose image quality it
    // captures at) and the options must outlive the model.
    CFilterWindowModel(IFilterWindowHost& host, IScreenSource& screen,
                       const CFilterManager& filters, const FilterWindowOptions& options);
    CFilterWindowModel(const CFilterWindowModel&) = delete;
    CFilterWindowModel& operator=(const CFilterWindowModel&) = delete;
    virtual ~CFilterWindowModel() = default;

    // Takes the record's state; a filter ID that is not enabled (compared exactly) selects the
    // first enabled filter. The status bar's form and the origin are fixed from here on.
    void Load(const CWindowSetting& setting);
    // The first picture and the title, once the window (and its status bar) exist.
    void Start();

    // The window's part of a refresh tick, in this order. A minimised window takes no part.
    // Whether this tick copies the screen for the window: a recapture was asked for (resize,
    // zoom, status bar) or the update interval has passed since the last capture.
    bool IsCaptureDue(std::uint32_t now) const;
    // The screen area the capture needs, around the reference point taken now (the cursor or
    // the fixed point) for the picture area and zoom.
    ScreenArea PrepareCapture();
    // Takes the window's part of the tick's screen copy; null when the copy failed, which keeps
    // the last picture and the capture time, so the next tick tries again. True when the
    // picture must be made anew (new pixels, or a new size that could not be had).
    bool TakeCapture(const CScreenCopy* copy, std::uint32_t now);
    // Steps a reference filter's playback and redoes what changed since the last paint: after
    // a capture, the table, blur, painting and status bar only when the pixels or the key
    // changed; without one, only for a playback step.
    void Refresh(bool captured, bool pixelsChanged);

    // Copies the screen for this window alone (its first picture) and refreshes; false when
    // minimised or when the screen could not be copied.
    bool CaptureAlone();
    void UpdateStatusbar();
    // Forces the next status update to write every part.
    void ResetShownValues();

    // Menu selection: a filter that is not there, or the one already selected, changes nothing.
    void SelectFilter(int index);
    // Key selection: selects even the filter already selected, restarting its playback.
    void ReselectFilter(int index);
    int GetSelectedIndex() const { return m_status.GetSelectedIndex(); }

    // Zooms outside -3..20 are ignored.
    void SetZoom(int zoom);
    void SetMarkCenter(bool on);
    // Turning it on fixes the reference point at the cursor.
    void SetFixPosition(bool on);
    void SetTopmostFlag(bool on) { m_topmost = on; }
    void SetShowStatusbarFlag(bool on) { m_showStatusbar = on; }
    // Look-alikes of the reference pixel's filtered colour shown, every other pixel dimmed.
    void SetHighlight(bool on);
    void RequestRecapture() { m_recaptureRequested = true; }

    int GetZoom() const { return m_zoom; }
    bool IsMarkCenter() const { return m_markCenter; }
    bool IsTopmost() const { return m_topmost; }
    bool IsFixPosition() const { return m_fixPosition; }
    IntPoint GetFixedPoint() const { return m_fixedPoint; }
    bool IsShowStatusbar() const { return m_showStatusbar; }
    bool IsHighlight() const { return m_highlight; }
    // The share of look-alike pixels in the last picture, in whole percent (0 while off).
    int GetLookAlikePercent() const { return m_highlight ? m_lookAlikePercent : 0; }
    bool IsSimpleStatusbar() const { return m_simpleStatusbar; }
    bool IsLeftTopOrigin() const { return m_leftTopOrigin; }
    IntPoint GetReferencePoint() const { return m_referencePoint; }
    ColorValue GetOriginalColor() const { return m_originalColor; }
    ColorValue GetFilteredColor() const { return m_filteredColor; }
    const CCaptureImage& GetCaptureImage() const { return m_image; }
    const CFilterStatus& GetFilterStatus() const { return m_status; }
    std::uint32_t GetLastCaptureTime() const { return m_lastCaptureTime; }

    // The status bar's part edges for the options' display format.
    std::vector<int> GetStatusbarEdges(int dpi) const;
    // The record of the current state; the rectangle is the window's, which only it knows.
    CWindowSetting GetWindowSetting(const IntRect& windowRect) const;

    // The key of the last paint.
    const RefreshKey& GetPaintedKey() const { return m_painted; }

private:
    // Shows the selected filter as a fresh selection does: a colour map at once, a reference
    // filter from its first member.
    void ShowSelection();
    void UpdateTitle();
    RefreshKey MakeKey(const CFilter* shown) const;
    // The filter to show at this tick: the selected one, or a sequence's member after stepping
    // its playback when a step is due (`stepped` tells).
    const CFilter* StepPlayback(bool& stepped);

    // The pixel steps of a refresh, in order.
    void IndexPixels();
    void ApplyTable(const CFilter* filter);
    void BlurPicture();
    // Last over the pixels, so that the blur softens shapes, never the dimming's edges.
    void HighlightLookAlikes(const CFilter* filter);
    // The pixel the status bar names, whose filtered colour is the look-alikes' reference.
    IntPoint ReferencePixel() const;
    double LookAlikeDistance() const;
    void StoreLookAlikeShare(std::size_t alike);
    void SampleReference();
    void RequestPaint();
    // Table, blur, reference colours, painting and status bar for the filter, remembered as
    // painted.
    void Redraw(const CFilter* filter);

    IFilterWindowHost& m_host;
    IScreenSource& m_screen;
    const CFilterManager& m_filters;
    const FilterWindowOptions& m_options;
    CCaptureImage m_image;
    CFilterStatus m_status;

    int m_zoom = CWindowSetting::DefaultZoom;
    bool m_markCenter = false;
    bool m_topmost = false;
    bool m_fixPosition = false;
    IntPoint m_fixedPoint;
    bool m_showStatusbar = true;
    bool m_simpleStatusbar = false;
    bool m_leftTopOrigin = false;
    bool m_highlight = false;
    CLookAlikeMask m_lookAlikes;
    int m_lookAlikePercent = 0;

    bool m_recaptureRequested = false;
    std::uint32_t m_lastCaptureTime = 0;
    IntPoint m_referencePoint;
    PixelSize m_captureArea;
    RefreshKey m_painted;
    ColorValue m_originalColor = 0;
    ColorValue m_filteredColor = 0;

    // What the status bar shows now, so that unchanged parts are not written again.
    ColorValue m_shownColor = 0;
    IntPoint m_shownPoint;
    int m_shownZoom = 0;
    int m_shownLookAlikes = 0; // -1: highlighting off
    // The shown values were reset: the next refresh writes the status bar whatever its key.
    bool m_statusReset = true;
};
