#pragma once

#include "authoring/picture.h"
#include "engine/filter/color.h"

#include <string_view>

// One picture showing the original and its simulations side by side, each panel under a label,
// so that every simulation is seen at a glance. Panels fill a grid of about as many columns as
// rows. Pictures larger than kMaxPanelSide on a side are shrunk by a whole factor (each panel
// pixel the mean of a block); transparent parts are shown over the sheet's background.
struct ContactSheetLayout {
    static constexpr int kMargin = 8;
    static constexpr int kLabelScale = 2;
    static constexpr int kLabelHeight = 22; // 7 rows at scale 2 and 4 pixels above and below
    static constexpr int kMinCellWidth = 160;
    static constexpr int kMaxPanelSide = 1024;
    static constexpr ColorValue kBackground = MakeColor(0xE8, 0xE8, 0xE8);
    static constexpr ColorValue kLabelColor = MakeColor(0x20, 0x20, 0x20);

    int panels = 0;
    int columns = 0;
    int rows = 0;
    int shrink = 1; // each panel pixel stands for shrink x shrink picture pixels
    int panelWidth = 0;
    int panelHeight = 0;
    int cellWidth = 0;
    int width = 0;
    int height = 0;

    int PanelLeft(int panel) const;
    // Top of the label band; the picture starts kLabelHeight below it.
    int LabelTop(int panel) const;
    int PictureTop(int panel) const { return LabelTop(panel) + kLabelHeight; }
};

// The layout of `panels` panels for pictures of the given size; width and height are 0 when
// the input is not positive.
ContactSheetLayout LayoutContactSheet(int pictureWidth, int pictureHeight, int panels);

class CContactSheet {
public:
    // Creates the background; false when the sheet would be too large or memory runs out.
    bool Create(int pictureWidth, int pictureHeight, int panels);
    // Draws one panel: its label and the picture. A picture of another size than the one given
    // to Create is not drawn.
    void DrawPanel(int panel, std::string_view label, const CPicture& picture);

    const ContactSheetLayout& GetLayout() const { return m_layout; }
    const CPicture& GetPicture() const { return m_sheet; }

private:
    ContactSheetLayout m_layout;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    CPicture m_sheet;
};
