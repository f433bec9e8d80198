#include "engine/filter/image_quality.h"

namespace {

struct QualityState {
    int level = 0;
    int step = 7;
    int points = 36;
    std::uint32_t plane = 36u * 36u;
    std::uint32_t table = 36u * 36u * 36u;
    ColorIndexTables index{};
};

QualityState MakeState(int level) {
    QualityState s;
    if (level < 0 || level > 18) {
        level = 0;
    }
    s.level = level;
    s.step = level != 0 ? level : 7;
    s.points = 5 * s.step + 1;
    s.plane = static_cast<std::uint32_t>(s.points) * static_cast<std::uint32_t>(s.points);
    s.table = s.plane * static_cast<std::uint32_t>(s.points);
    for (unsigned c = 0; c < 256; ++c) {
        const auto coord = static_cast<std::uint32_t>(ChannelCoordinate(c, s.step));
        s.index.red[c] = coord * s.plane;
        s.index.green[c] = coord * static_cast<std::uint32_t>(s.points);
        s.index.blue[c] = coord;
    }
    return s;
}

QualityState& State() {
    static QualityState state = MakeState(0);
    return state;
}

} // namespace

void SetImageQuality(int level) {
    State() = MakeState(level);
}

int GetImageQualityLevel() {
    return State().level;
}
int GetLatticeStep() {
    return State().step;
}
int GetPointsPerAxis() {
    return State().points;
}
std::uint32_t GetPlaneSize() {
    return State().plane;
}
std::uint32_t GetTableSize() {
    return State().table;
}
bool IsIndex16Bit() {
    return State().step < 8;
}
const ColorIndexTables& GetColorIndexTables() {
    return State().index;
}
