#include "view/cursorReadout.h"

#include <cmath>

#include "data/timeText.h"
#include "view/numberText.h"
#include "view/rawPoints.h"

cursorReading readingAt(const cycLink& graph, float t)
{
    uint8_t loadBefore = 0;
    uint8_t loadAfter = 0;
    // Wider than the 16-bit point times: the step after a sample at 65535 s must not wrap.
    int32_t tBefore = 0;
    int32_t tAfter = 0;
    uint8_t state = 0;
    const std::size_t n = rawPointCount(graph);
    const uint8_t* point = graph.Points.data();
    for (std::size_t i = 0; i < n; ++i, point += 3) {
        const uint16_t time = getBe16(point);
        const uint8_t value = point[2];
        if (static_cast<float>(time) <= t) {
            if (isLoadSample(value)) {
                loadBefore = value & 0x7F;
                tBefore = tAfter = time;
            } else {
                state = value;
            }
        } else if (loadAfter == 0 && isLoadSample(value)) {
            // A later sample of 0 % leaves the search open.
            loadAfter = value & 0x7F;
            tAfter = time;
        }
    }
    if (tAfter == tBefore) {
        tAfter = tBefore + 1;
        loadAfter = loadBefore;
    }
    uint8_t load = loadBefore;
    if (tAfter - tBefore <= 2) {
        const float span = static_cast<float>(tAfter - tBefore);
        const float weighted = loadBefore * (static_cast<float>(tAfter) - t) +
                               loadAfter * (t - static_cast<float>(tBefore));
        load = static_cast<uint8_t>(static_cast<int>(std::floor(weighted / span + 0.5)));
    }
    return {t, load, state};
}

std::optional<cursorReading> readCursor(const cycLink& graph, const graphScale& scale, int x)
{
    const float t = scale.timeAt(x);
    if (!(t >= scale.timeMin && t <= scale.timeMax))
        return std::nullopt;
    return readingAt(graph, t);
}

std::string cursorTimeText(float t) { return fixedText(t, 0) + "с"; }

std::string cursorLoadText(uint8_t load) { return printfText("%u%%", static_cast<unsigned>(load)); }

std::string cursorClockText(int32_t graphStart, float t)
{
    const int64_t at = int64_t{graphStart} + std::llround(t);
    return localTimeText(static_cast<int32_t>(at), "%H:%M:%S");
}

std::string cursorTonnesText(uint8_t load, float maxWeight)
{
    return fixedText(static_cast<double>(maxWeight) * load / 100, 2) + " т";
}

std::optional<lampColour> mechanismLamp(int mechanism, uint8_t lastState, uint8_t state)
{
    const uint8_t bit = static_cast<uint8_t>(1 << (mechanism - 1));
    if ((lastState & bit) == (state & bit))
        return std::nullopt;
    return (state & bit) ? lampColour::blue : lampColour::gray;
}

std::optional<lampColour> limiterLamp(uint8_t lastState, uint8_t state)
{
    if ((lastState & limiterStateBit) == (state & limiterStateBit))
        return std::nullopt;
    return (state & limiterStateBit) ? lampColour::red : lampColour::green;
}
