// Scenario files: the content of a simulated device written as text.
//
// One item a line: a keyword, a blank, the value. Lines starting with '#' and blank lines are
// skipped. Texts are UTF-8 and are stored as Windows-1251. Dates are local time, written
// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS". Hex values are pairs of hex digits, blanks allowed.
//
// Device lines (before the first crane):
//   device recorder|collector        default recorder
//   identifier XXXXXXXX              8 characters for Identify (default by device)
//   clock DATE                       device clock at start (default: now; --clock wins)
//   seed N                           for "crane generate" (default 1; --seed wins)
//   load CODE                        the ADC code ReadLoad reports (--load wins)
// Cranes (a recorder serves exactly one; without any, a recorder gets a generated crane and
// a collector has no slots):
//   crane [generate]                 starts a crane, empty or generated from the seed
//   regNo / serNo / invNo TEXT       at most 8 characters
//   workSince DATE, regiSince DATE   commissioning and installation dates
//   capacity TONNES                  up to 127, or tens of tonnes up to 1280
//   fullCode N, zeroCode N           ADC codes at 100 % and 0 % load
//   serviceYears N, serviceSeconds N (default years * 31536000)
//   group N                          passport group 1..8
//   ogp TRIP RESET                   limiter levels in percent
//   cycles Q1 Q2 Q3 Q4 OVERLOAD      cycle counters; cyclesTotal N (default Q1+Q2+Q3+Q4)
//   hours H1 .. H6                   working hours of mechanisms 1..6 (stored as seconds)
//   loadSum N  or  weightTotal T     raw load sum, or the total tonnes it stands for
//   cubeSum X
//   graphCounts N E FLAGS            bytes 117..119 (default from the graphs)
//   readout DATE                     when the collector read it (default: the clock)
//   slotRegNo TEXT                   SelectSlot's registration number, 12 at most
//   graph ordinary|overload DATE     a graph starting at DATE; then lines
//     points T:V ...                 T seconds, V = L<percent> (load) or S<hex> (state)
//   graph ordinary|overload raw      a raw graph record (from the L field); then lines
//     hex HEX ...
//   memory HEX                       raw memory image, lines appended (replaces the fields)
//   poke OFFSET HEX                  bytes patched into the image at a decimal offset
//   slotReply HEX                    raw data of the SelectSlot reply
// Graphs of a kind given for a generated crane replace its generated ones.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

#include "sim/content.h"

struct scenarioContext {
    int32_t clock = 0;       // device clock unless the file sets one
    uint64_t seed = 1;       // seed unless the file sets one
    bool clockFixed = false; // the command line set the clock: the file's is ignored
    bool seedFixed = false;
};

// A local date "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (years 1900..2099) as calendar seconds.
std::optional<int32_t> parseDate(const std::string& text);

// The device content, or nothing with error saying which line is wrong and why.
std::optional<simContent> parseScenario(std::istream& in, scenarioContext context, std::string& error);
