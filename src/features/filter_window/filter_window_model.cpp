#include "features/filter_window/filter_window_model.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/image/color_info.h"
#include "engine/image/pixel_pipeline.h"
#include "platform/tick_count.h"

#include <string>

namespace {

constexpr ColorValue kNoShownColor = 0xFFFFFFFF;
constexpr IntPoint kNoShownPoint{-1, -1};
constexpr int kNoShownZoom = -9999;
constexpr int kNoShownLookAlikes = -2;
constexpr int kLookAlikesOff = -1;

// The enabled position whose filter ID equals the record's exactly; the first when none does.
int EnabledPositionOf(const CFilterManager& filters, const std::string& id) {
    for (int i = 0; i < filters.GetEnabledCount(); ++i) {
        const CFilter* filter = filters.GetEnabledFilter(i);
        if (filter != nullptr && filter->GetID() == id) {
            return i;
        }
    }
    return 0;
}

} // namespace

CFilterWindowModel::CFilterWindowModel(IFilterWindowHost& host, IScreenSource& screen,
                                       const CFilterManager& filters,
                                       const FilterWindowOptions& options)
    : m_host(host), m_screen(screen), m_filters(filters), m_options(options),
      m_image(screen, filters.GetImageQuality()), m_status(filters) {
    ResetShownValues();
}

void CFilterWindowModel::Load(const CWindowSetting& setting) {
    m_simpleStatusbar = m_options.simpleStatusbar;
    m_status.SelectIndex(EnabledPositionOf(m_filters, setting.FilterID));
    m_markCenter = setting.MarkCenter;
    m_topmost = setting.Topmost;
    m_zoom = IsValidZoom(setting.Zoom) ? setting.Zoom : CWindowSetting::DefaultZoom;
    m_fixPosition = setting.FixPosition;
    m_fixedPoint = setting.FixPosition ? setting.FixedPoint : IntPoint{};
    m_showStatusbar = setting.ShowStatusbar;
    m_recaptureRequested = false;
    m_leftTopOrigin = m_options.leftTopOrigin;
    m_highlight = m_options.highlightLookAlikes;
}

void CFilterWindowModel::Start() {
    CaptureAlone();
    ShowSelection();
    UpdateTitle();
}

bool CFilterWindowModel::IsCaptureDue(std::uint32_t now) const {
    // A minimised window shows nothing; its restoring resize asks for a capture anyway.
    if (m_host.IsMinimized()) {
        return false;
    }
    return m_recaptureRequested || IsIntervalDue(now, m_lastCaptureTime, m_options.updateInterval);
}

ScreenArea CFilterWindowModel::PrepareCapture() {
    m_recaptureRequested = false;
    IntPoint reference = m_referencePoint;
    if (m_fixPosition) {
        reference = m_fixedPoint;
    } else {
        IntPoint cursor;
        if (m_host.GetCursorPosition(cursor)) {
            reference = cursor;
        }
    }
    m_referencePoint = reference;
    m_captureArea = m_host.GetPictureArea();
    return ComputeCaptureRect(reference, m_captureArea, m_zoom, m_leftTopOrigin);
}

bool CFilterWindowModel::TakeCapture(const CScreenCopy* copy, std::uint32_t now) {
    if (copy == nullptr) {
        return false;
    }
    const CaptureRect rect =
        ComputeCaptureRect(m_referencePoint, m_captureArea, m_zoom, m_leftTopOrigin);
    const bool hadPicture = !m_image.IsEmpty();
    switch (m_image.CaptureFrom(*copy, rect.x, rect.y, rect.width, rect.height)) {
    case CaptureResult::Changed:
        IndexPixels();
        m_lastCaptureTime = now;
        return true;
    case CaptureResult::Unchanged:
        m_lastCaptureTime = now;
        return false;
    case CaptureResult::Failed:
        break;
    }
    // A new size that could not be had leaves nothing to show: black, not the old picture.
    return hadPicture && m_image.IsEmpty();
}

void CFilterWindowModel::Refresh(bool captured, bool pixelsChanged) {
    if (m_host.IsMinimized()) {
        return;
    }
    bool stepped = false;
    const CFilter* filter = StepPlayback(stepped);
    if (filter == nullptr || (!captured && !stepped)) {
        return;
    }
    const RefreshKey key = MakeKey(filter);
    if (pixelsChanged || stepped || !(key.picture == m_painted.picture)) {
        Redraw(filter);
    } else if (m_statusReset || !(key.status == m_painted.status)) {
        UpdateStatusbar();
        m_painted = key;
    }
}

bool CFilterWindowModel::CaptureAlone() {
    if (m_host.IsMinimized()) {
        return false;
    }
    CScreenCopy copy(m_screen);
    if (!copy.TakeAreas({PrepareCapture()})) {
        return false;
    }
    TakeCapture(&copy, GetTickCount32());
    return !m_image.IsEmpty();
}

const CFilter* CFilterWindowModel::StepPlayback(bool& stepped) {
    stepped = false;
    const CFilter* filter = m_status.GetSelectedFilter();
    if (filter == nullptr || !filter->IsReferenceFilter()) {
        return filter;
    }
    if (m_status.IsSequenceDue()) {
        if (const CFilter* member = m_status.AdvanceSequence()) {
            stepped = true;
            return member;
        }
        return nullptr;
    }
    return m_status.GetShownFilter();
}

RefreshKey CFilterWindowModel::MakeKey(const CFilter* shown) const {
    RefreshKey key;
    key.picture.filter = shown;
    key.picture.blurRadius = m_options.blurRadius;
    key.picture.zoom = m_zoom;
    key.picture.markCenter = m_markCenter;
    key.picture.area = m_captureArea;
    key.picture.highlight = m_highlight;
    key.picture.lookAlikeDistance = m_highlight ? m_options.lookAlikeDistance : 0;
    key.status.referencePoint = m_referencePoint;
    key.status.showStatusbar = m_showStatusbar;
    if (m_showStatusbar) {
        key.status.shift = m_host.IsShiftDown();
        key.status.showOriginalColorInfo = m_options.showOriginalColorInfo;
        key.status.colorDisplayFormat = m_options.colorDisplayFormat;
    }
    return key;
}

void CFilterWindowModel::IndexPixels() {
    m_image.BuildIndex();
}

void CFilterWindowModel::ApplyTable(const CFilter* filter) {
    // Unblurred, the highlight is the table pass itself: the look-alikes' entries as they are,
    // the others' dimmed.
    if (m_highlight && !m_image.IsEmpty() &&
        CCaptureImage::BlurRadiusOf(static_cast<std::uint32_t>(m_options.blurRadius)) == 0) {
        const IntPoint at = ReferencePixel();
        const std::size_t alike =
            m_image.ApplyFilterHighlighted(filter, at.x, at.y, LookAlikeDistance(), m_lookAlikes);
        StoreLookAlikeShare(alike);
        return;
    }
    m_image.ApplyFilter(filter);
}

void CFilterWindowModel::BlurPicture() {
    m_image.Blur(m_options.blurRadius);
}

void CFilterWindowModel::HighlightLookAlikes(const CFilter* filter) {
    if (!m_highlight) {
        return;
    }
    // A black window has no look-alikes: no share of an earlier picture stays on its bar.
    if (m_image.IsEmpty()) {
        m_lookAlikePercent = 0;
        return;
    }
    // Without a blur the table pass made it already.
    if (CCaptureImage::BlurRadiusOf(static_cast<std::uint32_t>(m_options.blurRadius)) == 0) {
        return;
    }
    const IntPoint at = ReferencePixel();
    StoreLookAlikeShare(
        m_image.HighlightLookAlikes(filter, at.x, at.y, LookAlikeDistance(), m_lookAlikes));
}

IntPoint CFilterWindowModel::ReferencePixel() const {
    return m_leftTopOrigin ? IntPoint{0, 0}
                           : IntPoint{(m_image.GetWidth() - 1) / 2, (m_image.GetHeight() - 1) / 2};
}

double CFilterWindowModel::LookAlikeDistance() const {
    return IsValidLookAlikeDistance(m_options.lookAlikeDistance) ? m_options.lookAlikeDistance
                                                                 : kDefaultLookAlikeDistance;
}

void CFilterWindowModel::StoreLookAlikeShare(std::size_t alike) {
    const std::size_t pixels = static_cast<std::size_t>(m_image.GetWidth()) *
                               static_cast<std::size_t>(m_image.GetHeight());
    m_lookAlikePercent = LookAlikePercent(alike, pixels);
}

void CFilterWindowModel::SampleReference() {
    if (m_image.IsEmpty()) {
        return;
    }
    if (m_leftTopOrigin) {
        m_originalColor = m_image.GetTopLeftColor(true);
        m_filteredColor = m_image.GetTopLeftColor(false);
    } else {
        m_originalColor = m_image.GetCenterColor(true);
        m_filteredColor = m_image.GetCenterColor(false);
    }
}

void CFilterWindowModel::RequestPaint() {
    m_host.InvalidatePicture();
}

void CFilterWindowModel::Redraw(const CFilter* filter) {
    ApplyTable(filter);
    BlurPicture();
    HighlightLookAlikes(filter);
    SampleReference();
    RequestPaint();
    UpdateStatusbar();
    m_painted = MakeKey(filter);
}

void CFilterWindowModel::UpdateStatusbar() {
    if (m_host.IsMinimized() || !m_showStatusbar) {
        return;
    }
    m_statusReset = false;
    const ColorValue colour = ChooseStatusColor(
        m_options.showOriginalColorInfo, m_host.IsShiftDown(), m_originalColor, m_filteredColor);
    const int format = m_options.colorDisplayFormat;
    const bool colourChanged = colour != m_shownColor;
    if (colourChanged) {
        m_host.SetStatusText(0, m_markCenter ? ColorValueText(colour, format) : std::string());
    }
    if (!m_simpleStatusbar) {
        if (m_referencePoint != m_shownPoint) {
            m_host.SetStatusText(1, m_markCenter ? PointText(m_referencePoint) : std::string());
        }
        if (m_zoom != m_shownZoom) {
            m_host.SetStatusText(2, ZoomText(m_zoom));
        }
    }
    const int lookAlikes = m_highlight ? m_lookAlikePercent : kLookAlikesOff;
    if (colourChanged || lookAlikes != m_shownLookAlikes) {
        std::string name =
            m_markCenter ? ColorNameText(CHSV(colour), format == kFormatHsvSimple) : std::string();
        if (m_highlight) {
            name += (name.empty() ? "" : "  ") + m_options.lookAlikeLabel + " " +
                    std::to_string(lookAlikes) + "%";
        }
        m_host.SetStatusText(ColorNamePart(m_simpleStatusbar), name);
    }
    m_shownColor = colour;
    m_shownLookAlikes = lookAlikes;
    m_shownPoint = m_referencePoint;
    m_shownZoom = m_zoom;
}

void CFilterWindowModel::ResetShownValues() {
    m_shownColor = kNoShownColor;
    m_shownPoint = kNoShownPoint;
    m_shownZoom = kNoShownZoom;
    m_shownLookAlikes = kNoShownLookAlikes;
    m_statusReset = true;
}

void CFilterWindowModel::ShowSelection() {
    const CFilter* filter = m_status.GetSelectedFilter();
    if (filter == nullptr) {
        return;
    }
    if (filter->IsColorMapFilter()) {
        Redraw(filter);
        return;
    }
    m_status.StartSequence();
    if (m_status.IsSequenceDue()) {
        if (const CFilter* member = m_status.AdvanceSequence()) {
            Redraw(member);
        }
    }
}

void CFilterWindowModel::SelectFilter(int index) {
    const CFilter* filter = m_filters.GetEnabledFilter(index);
    if (filter == nullptr || filter == m_status.GetSelectedFilter()) {
        return;
    }
    ReselectFilter(index);
}

void CFilterWindowModel::ReselectFilter(int index) {
    if (m_filters.GetEnabledFilter(index) == nullptr) {
        return;
    }
    m_status.SelectIndex(index);
    ShowSelection();
    UpdateTitle();
}

void CFilterWindowModel::UpdateTitle() {
    m_host.SetTitle(FilterWindowTitle(m_status.GetSelectedFilter()));
}

void CFilterWindowModel::SetZoom(int zoom) {
    if (!IsValidZoom(zoom)) {
        return;
    }
    m_zoom = zoom;
    m_recaptureRequested = true;
}

void CFilterWindowModel::SetMarkCenter(bool on) {
    m_markCenter = on;
    ResetShownValues();
}

void CFilterWindowModel::SetHighlight(bool on) {
    // The next refresh's picture key differs: the picture is made again then.
    m_highlight = on;
    m_recaptureRequested = true;
}

void CFilterWindowModel::SetFixPosition(bool on) {
    m_fixPosition = on;
    if (on) {
        IntPoint cursor;
        if (m_host.GetCursorPosition(cursor)) {
            m_fixedPoint = cursor;
        } else {
            m_fixedPoint = m_referencePoint;
        }
    }
    UpdateTitle();
}

std::vector<int> CFilterWindowModel::GetStatusbarEdges(int dpi) const {
    return ComputeStatusbarEdges(m_options.colorDisplayFormat, m_simpleStatusbar, dpi);
}

CWindowSetting CFilterWindowModel::GetWindowSetting(const IntRect& windowRect) const {
    CWindowSetting setting;
    if (const CFilter* filter = m_status.GetSelectedFilter()) {
        setting.FilterID = filter->GetID();
    }
    setting.Zoom = m_zoom;
    setting.MarkCenter = m_markCenter;
    setting.Topmost = m_topmost;
    setting.WindowRect = windowRect;
    setting.SetFixedPoint(m_fixPosition, m_fixedPoint);
    setting.ShowStatusbar = m_showStatusbar;
    return setting;
}
