#include "authoring/contact_sheet.h"

#include "authoring/bitmap_font.h"

#include <algorithm>
#include <cstdint>

int ContactSheetLayout::PanelLeft(int panel) const {
    return kMargin + (panel % columns) * (cellWidth + kMargin);
}

int ContactSheetLayout::LabelTop(int panel) const {
    return kMargin + (panel / columns) * (kLabelHeight + panelHeight + kMargin);
}

ContactSheetLayout LayoutContactSheet(int pictureWidth, int pictureHeight, int panels) {
    ContactSheetLayout layout;
    if (pictureWidth <= 0 || pictureHeight <= 0 || panels <= 0) {
        return layout;
    }
    layout.panels = panels;
    layout.columns = 1;
    while (layout.columns * layout.columns < panels) {
        ++layout.columns;
    }
    layout.rows = (panels + layout.columns - 1) / layout.columns;
    const int side = std::max(pictureWidth, pictureHeight);
    layout.shrink =
        (side + ContactSheetLayout::kMaxPanelSide - 1) / ContactSheetLayout::kMaxPanelSide;
    layout.panelWidth = (pictureWidth + layout.shrink - 1) / layout.shrink;
    layout.panelHeight = (pictureHeight + layout.shrink - 1) / layout.shrink;
    layout.cellWidth = std::max(layout.panelWidth, ContactSheetLayout::kMinCellWidth);
    constexpr int m = ContactSheetLayout::kMargin;
    layout.width = m + layout.columns * (layout.cellWidth + m);
    layout.height = m + layout.rows * (ContactSheetLayout::kLabelHeight + layout.panelHeight + m);
    return layout;
}

bool CContactSheet::Create(int pictureWidth, int pictureHeight, int panels) {
    m_layout = LayoutContactSheet(pictureWidth, pictureHeight, panels);
    m_pictureWidth = pictureWidth;
    m_pictureHeight = pictureHeight;
    if (m_layout.width == 0 || !m_sheet.Allocate(m_layout.width, m_layout.height, false)) {
        return false;
    }
    for (int y = 0; y < m_layout.height; ++y) {
        for (int x = 0; x < m_layout.width; ++x) {
            m_sheet.SetColor(x, y, ContactSheetLayout::kBackground);
        }
    }
    return true;
}

namespace {

// Channel c of a picture pixel shown over the background.
unsigned Composite(unsigned channel, unsigned alpha, unsigned background) {
    return (channel * alpha + background * (255u - alpha) + 127u) / 255u;
}

} // namespace

void CContactSheet::DrawPanel(int panel, std::string_view label, const CPicture& picture) {
    if (panel < 0 || panel >= m_layout.panels || m_sheet.IsEmpty() ||
        picture.GetWidth() != m_pictureWidth || picture.GetHeight() != m_pictureHeight) {
        return;
    }
    const int left = m_layout.PanelLeft(panel);
    DrawText(m_sheet, left, m_layout.LabelTop(panel) + 4, label, ContactSheetLayout::kLabelScale,
             ContactSheetLayout::kLabelColor, m_layout.cellWidth);

    const int top = m_layout.PictureTop(panel);
    const int shrink = m_layout.shrink;
    const ColorValue bg = ContactSheetLayout::kBackground;
    for (int py = 0; py < m_layout.panelHeight; ++py) {
        const int y0 = py * shrink;
        const int y1 = std::min(y0 + shrink, picture.GetHeight());
        for (int px = 0; px < m_layout.panelWidth; ++px) {
            const int x0 = px * shrink;
            const int x1 = std::min(x0 + shrink, picture.GetWidth());
            std::uint64_t sum[3] = {0, 0, 0};
            for (int y = y0; y < y1; ++y) {
                const unsigned char* row = picture.GetRow(y);
                const unsigned char* alpha = picture.HasAlpha() ? picture.GetAlphaRow(y) : nullptr;
                for (int x = x0; x < x1; ++x) {
                    const unsigned char* p = row + static_cast<std::size_t>(x) * 3;
                    const unsigned a = alpha != nullptr ? alpha[x] : 255u;
                    sum[0] += Composite(p[2], a, RedOf(bg));
                    sum[1] += Composite(p[1], a, GreenOf(bg));
                    sum[2] += Composite(p[0], a, BlueOf(bg));
                }
            }
            const std::uint64_t count =
                static_cast<std::uint64_t>(y1 - y0) * static_cast<std::uint64_t>(x1 - x0);
            m_sheet.SetColor(left + px, top + py,
                             MakeColor(static_cast<unsigned>((sum[0] + count / 2) / count),
                                       static_cast<unsigned>((sum[1] + count / 2) / count),
                                       static_cast<unsigned>((sum[2] + count / 2) / count)));
        }
    }
}
