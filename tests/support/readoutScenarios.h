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

// A recorder described field by field: two ordinary graphs (the second with only two load
// samples) and one overload graph.
inline const char recorderScenario[] = R"(device recorder
clock 2024-03-15 10:00:00
crane
  regNo Р-20481
  serNo 77 019
  invNo ИН-31
  workSince 2011-04-01
  regiSince 2016-09-12 14:45:00
  capacity 160
  fullCode 200
  zeroCode 25
  serviceSeconds 630720000
  serviceYears 20
  group 4
  ogp 105 90
  cycles 100 50 20 5 2
  hours 1.5 0.25 0 0 0 7
  loadSum 4400
  cubeSum 12.5
  graph ordinary 2024-03-15 09:00:00
  points 0:S00 0:L3 1:S01 2:L40 3:L55 4:L56 5:S00 6:L4
  graph ordinary 2024-03-15 09:20:00
  points 0:S00 0:L3 2:L10
  graph overload 2024-03-15 09:40:00
  points 0:S00 0:L9 5:L120 6:S40 9:L90 10:S00 12:L5
)";

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
