// The values under the mouse pointer on a load graph: the time, the load (taken from the raw
// points, interpolated between samples up to 2 s apart) and the state byte for the lamps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/devLink.h"
#include "view/graphScale.h"

struct cursorReading {
    float time;      // seconds since the graph's start
    uint8_t load;    // percent of the rated load
    uint8_t state;   // the last state sample at or before the time
};

// The reading at pixel column x; empty when x lies outside the time range, and then nothing on
// the page changes.
std::optional<cursorReading> readCursor(const cycLink& graph, const graphScale& scale, int x);

// The reading at time t, walking the raw points in recorded order.
cursorReading readingAt(const cycLink& graph, float t);

// "%.0fс" and "%u%%", the texts of the time and load fields.
std::string cursorTimeText(float t);
std::string cursorLoadText(uint8_t load);
// The same reading as clock time ("%H:%M:%S" of the graph's start plus t, local time) and in
// tonnes of the crane's rated load ("%.2f т").
std::string cursorClockText(int32_t graphStart, float t);
std::string cursorTonnesText(uint8_t load, float maxWeight);

// Lamp pictures. A lamp changes only when its bit differs from the state last shown: a
// mechanism is blue while running and gray while stopped, the limiter red while tripped and
// green otherwise.
enum class lampColour { gray, green, red, blue };
std::optional<lampColour> mechanismLamp(int mechanism, uint8_t lastState, uint8_t state);
std::optional<lampColour> limiterLamp(uint8_t lastState, uint8_t state);
