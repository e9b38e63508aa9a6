// Device contents for readout tests, as simulator scenarios with known field values.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// A scenario text in a temporary file for the simulator's --scenario, removed afterwards.
class scenarioFile {
public:
    explicit scenarioFile(const std::string& text)
    {
        std::ofstream(path) << text;
    }
    ~scenarioFile() { std::filesystem::remove(path); }
    scenarioFile(const scenarioFile&) = delete;
    scenarioFile& operator=(const scenarioFile&) = delete;

    const std::string path = (std::filesystem::temp_directory_path() /
                              ("brennix-scenario-" + std::to_string(getpid()) + ".txt"))
                                 .string();
};

// Three recorders gathered by a collector, each with its slot's registration number and time.
inline const char collectorScenario[] = R"(device collector
clock 2024-03-15 12:00:00
crane
  regNo A-1
  slotRegNo КР-000000001
  readout 2024-03-14 08:00:00
  serNo S1
  capacity 10
  cycles 1 2 3 4 5
  graph ordinary 2024-03-14 07:00:00
  points 0:S00 0:L10 1:L20 2:L30 3:L40
  graph ordinary 2024-03-14 07:10:00
  points 0:S00 0:L11 1:L21 2:L31 3:L41
  graph ordinary 2024-03-14 07:20:00
  points 0:S00 0:L12 1:L22 2:L32 3:L42
crane
  regNo B-2
  slotRegNo КР-2
  readout 2024-03-14 09:00:00
  serNo S2
  capacity 20
  graph overload 2024-03-14 08:30:00
  points 0:S00 0:L90 1:L120 2:L110 3:L95
crane
  regNo C-3
  slotRegNo КР-3
  readout 2024-03-14 10:00:00
  serNo S3
  capacity 30
)";
