#include "authoring/picture_simulation.h"

#include "engine/filter/filter.h"
#include "engine/image/look_alike.h"
#include "engine/image/pixel_pipeline.h"

#include <cstring>
#include <new>

CPictureSimulation::CPictureSimulation(const CPicture& original, const CImageQuality& quality)
    : m_original(original), m_quality(quality) {
    if (original.IsEmpty()) {
        return;
    }
    const int width = original.GetWidth();
    const int height = original.GetHeight();
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (quality.IsIndex16Bit()) {
        m_index16.reset(new (std::nothrow) std::uint16_t[pixels]);
        if (m_index16) {
            BuildIndexBuffer(original.GetPixels(), width, height, original.GetStride(), quality,
                             m_index16.get());
        }
    } else {
        m_index32.reset(new (std::nothrow) std::uint32_t[pixels]);
        if (m_index32) {
            BuildIndexBuffer(original.GetPixels(), width, height, original.GetStride(), quality,
                             m_index32.get());
        }
    }
}

bool CPictureSimulation::Apply(const CFilter& filter, int blurRadius, CPicture& out) const {
    if (!IsReady()) {
        return false;
    }
    const int width = m_original.GetWidth();
    const int height = m_original.GetHeight();
    const bool sameShape = out.GetWidth() == width && out.GetHeight() == height &&
                           out.HasAlpha() == m_original.HasAlpha();
    if (!sameShape && !out.Allocate(width, height, m_original.HasAlpha())) {
        return false;
    }
    const std::size_t bytes = m_original.GetStride() * static_cast<std::size_t>(height);
    const ColorValue* table = TableOf(filter);
    if (table == nullptr) {
        std::memcpy(out.GetPixels(), m_original.GetPixels(), bytes);
    } else if (m_index16) {
        ApplyColorTable(m_index16.get(), table, width, height, out.GetStride(), out.GetPixels());
    } else {
        ApplyColorTable(m_index32.get(), table, width, height, out.GetStride(), out.GetPixels());
    }
    if (m_original.HasAlpha()) {
        std::memcpy(out.GetAlpha(), m_original.GetAlpha(),
                    static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    return BlurPixels(out.GetPixels(), width, height, out.GetStride(), blurRadius);
}

const ColorValue* CPictureSimulation::TableOf(const CFilter& filter) const {
    const ColorValue* table = filter.GetTable();
    if (filter.IsIdentity() || table == nullptr ||
        filter.GetTableQuality().GetTableSize() != m_quality.GetTableSize()) {
        return nullptr;
    }
    return table;
}

std::size_t CPictureSimulation::HighlightLookAlikes(const CFilter& filter, ColorValue color,
                                                    double distance, CPicture& out) const {
    const int width = m_original.GetWidth();
    const int height = m_original.GetHeight();
    if (!IsReady() || out.GetWidth() != width || out.GetHeight() != height) {
        return 0;
    }
    CLookAlikeMask mask;
    const ColorValue* table = TableOf(filter);
    if (table == nullptr) {
        mask.Prepare(color, distance, nullptr, 0);
        return HighlightLookAlikesByColor(m_original.GetPixels(), mask, width, height,
                                          out.GetStride(), out.GetPixels());
    }
    mask.Prepare(table[m_quality.ColorIndex(color)], distance, table, m_quality.GetTableSize());
    return m_index16 ? ::HighlightLookAlikes(m_index16.get(), mask, width, height, out.GetStride(),
                                             out.GetPixels())
                     : ::HighlightLookAlikes(m_index32.get(), mask, width, height, out.GetStride(),
                                             out.GetPixels());
}
