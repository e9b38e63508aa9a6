#include "data/devLink.h"

#include <algorithm>

void cycLink::decodePoints()
{
    loadPoints.clear();
    eventPoints.clear();
    const std::size_t bytes = std::min<std::size_t>(std::size_t{3} * Npoints, Points.size());
    std::size_t loads = 0;
    for (std::size_t i = 2; i < bytes; i += 3)
        loads += (Points[i] & loadSampleBit) ? 1 : 0;
    loadPoints.reserve(loads);
    eventPoints.reserve(bytes / 3 - loads);
    for (std::size_t i = 0; i + 2 < bytes; i += 3) {
        const uint32_t time = (uint32_t{Points[i]} << 8) | Points[i + 1];
        const uint8_t value = Points[i + 2];
        if (value & loadSampleBit)
            loadPoints.push_back({time, static_cast<float>(value & 0x7F)});
        else
            eventPoints.push_back({time, value});
    }
}

int peakLoad(const cycLink& graph)
{
    int peak = 0;
    for (std::size_t i = 2; i < graph.Points.size(); i += 3)
        if (graph.Points[i] & loadSampleBit)
            peak = std::max(peak, graph.Points[i] & 0x7F);
    return peak;
}
