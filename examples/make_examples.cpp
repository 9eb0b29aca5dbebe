// Writes the example projects through the engine's own editing operations and
// the project file writer, so the shipped files are always what the code saves.
// Usage: zor2-make-examples OUTPUT_FOLDER (data files go there too; projects name
// them "<folder name>/FILE", relative to the folder's parent, the working folder)
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/system.h"
#include "examples/example_builder.h"
#include "examples/example_tasks.h"
#include "persistence/project_file.h"
#include "simulation/behaviors.h"

namespace zor2 {
namespace {

using namespace examples;

void Begin(CSystem& s, CLcgRandom& random, const char* name, const char* description) {
    s.SetRandom(&random);
    s.NewProject();
    s.m_name = name;
    s.m_description = description;
}

/// celsius: fahrenheit = celsius * 1.8 + 32, one module.
void Celsius(CSystem& s) {
    CNetwork* m = s.CreateModule("convert", 200, 120);
    CNetworkModel* times = Drop(*m, 23, 140, 60);
    CNetworkModel* plus = Drop(*m, 21, 300, 80);
    FeedFromInput(s, Input(s, "celsius", 20.0), *m, times);
    Wire(*m, Constant(*m, 1.8, 20, 140), times);
    Wire(*m, times, plus);
    Wire(*m, Constant(*m, 32.0, 140, 180), plus);
    Publish(s, *m, plus, "fahrenheit");
}

/// accumulator: total grows by step every cycle through a Feedback Flow loop.
void Accumulator(CSystem& s) {
    CNetwork* m = s.CreateModule("integrate", 200, 120);
    CNetworkModel* sum = Drop(*m, 21, 160, 60);
    CNetworkModel* lag = Drop(*m, 56, 320, 160);
    FeedFromInput(s, Input(s, "step", 0.5), *m, sum);
    Wire(*m, sum, lag);
    Wire(*m, lag, sum);
    Publish(s, *m, sum, "total");
}

/// two_stage: a + b in one module, -(a + b) * 10 in a second module of level 2.
void TwoStage(CSystem& s) {
    CNetwork* first = s.CreateModule("sum", 120, 120);
    CNetwork* second = s.CreateModule("scale", 420, 120);
    CNetworkModel* plus = Drop(*first, 21, 160, 80);
    FeedFromInput(s, Input(s, "a", 3.0), *first, plus);
    FeedFromInput(s, Input(s, "b", 4.0), *first, plus);
    CNetworkOutput* sumOut = Publish(s, *first, plus, "sum");

    CNetworkModel* times = Drop(*second, 23, 160, 80);
    CNetworkModel* negate = Drop(*second, 88, 320, 80);
    CNetworkConnection* link = sumOut ? s.ConnectModules(*first, *second, sumOut) : nullptr;
    Check(link && link->m_dstInput, "connecting the two modules");
    if (link && link->m_dstInput && times)
        Check(second->RequestConnectModuleInput(*link->m_dstInput, *times, nullptr) == 0,
              "feeding the second module");
    Wire(*second, Constant(*second, 10.0, 20, 160), times);
    Wire(*second, times, negate);
    Publish(s, *second, negate, "scaled");
}

/// ramp: a behaviour raises level by 1 per simulated second; doubled = level * 2.
void Ramp(CSystem& s) {
    CNetwork* m = s.CreateModule("double", 200, 120);
    CNetworkModel* times = Drop(*m, 23, 160, 80);
    CExternalInput* level = Input(s, "level", 0.0);
    FeedFromInput(s, level, *m, times);
    Wire(*m, Constant(*m, 2.0, 20, 160), times);
    Publish(s, *m, times, "doubled");
    CSimBehavior* rise = level ? s.m_behaviors.AddBehavior(0, "rise", s.Random()) : nullptr;
    Check(rise != nullptr, "adding a behaviour");
    if (rise) {
        rise->m_targetInputId = level->m_id;
        rise->m_target = level;
        rise->m_type = kBehaviorAscending;
        rise->m_rate = 1.0;
    }
}

}  // namespace
}  // namespace zor2

int main(int argc, char** argv) {
    using namespace zor2;
    if (argc != 2) {
        std::fputs("usage: zor2-make-examples OUTPUT_FOLDER\n", stderr);
        return 1;
    }
    struct Example {
        const char* file;
        const char* description;
        void (*build)(CSystem&);
        uint32_t seed;
    };
    const Example examples[] = {
        {"celsius", "Converts a temperature in degrees Celsius to degrees Fahrenheit.", Celsius, 11},
        {"accumulator", "Adds its step input to a running total every cycle through a Feedback Flow loop.",
         Accumulator, 12},
        {"two_stage", "Adds two inputs in one module and scales the sum by -10 in a second module.", TwoStage,
         13},
        {"ramp", "A simulation behaviour raises the level input by 1 per second; the output doubles it.",
         Ramp, 14},
        {"tone_detector",
         "Hears a 440 Hz tone: generated frames are windowed, transformed, and the peak frequency is segmented into a band that lights a lamp.",
         ToneDetector, 15},
        {"vowel_classifier",
         "Names the vowel of two formants: their mixed signal gives MFCC features, which a network trained on vowels.csv classifies.",
         VowelClassifier, 16},
        {"thermostat",
         "Decides heating or cooling from room temperature and hour in a decision matrix; a sequencer runs two-second burner cycles while heating.",
         Thermostat, 17},
        {"sensor_log",
         "Plays a day of hourly sensor readings from sensor_log.csv through running statistics into the report sensor_report.csv.",
         SensorLog, 18},
        {"digit_display",
         "Shows a digit on a 7-segment LED through a pattern generator and reads the lit segments back with a pattern analyzer.",
         DigitDisplay, 19},
        {"homing",
         "Steers a robot home: vector arithmetic gives the distance and heading to the target at (40, 30), and a lamp lights on arrival.",
         Homing, 20},
    };
    // Data files live in the output folder; the projects refer to them relative
    // to its parent, which becomes the working folder.
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::absolute(argv[1], error).lexically_normal();
    const fs::path named = folder.has_filename() ? folder : folder.parent_path();
    fs::current_path(named.parent_path(), error);
    if (error) {
        std::fprintf(stderr, "zor2-make-examples: cannot work in %s: %s\n", named.parent_path().c_str(),
                     error.message().c_str());
        return 1;
    }
    SetDataFolder(named.string(), named.filename().string());
    for (const Example& e : examples) {
        CSystem system;
        CLcgRandom random(e.seed);
        CManualClock clock;  // learning reads the clock; the files must not
        system.SetClock(&clock);
        Begin(system, random, e.file, e.description);
        e.build(system);
        const std::string path = (named / (std::string(e.file) + ".zr2")).string();
        const CFileResult r = SaveProjectFile(system, path);
        if (!r) {
            std::fprintf(stderr, "zor2-make-examples: %s\n", r.message.c_str());
            return 1;
        }
        system.SetRandom(nullptr);
        system.SetClock(nullptr);
    }
    return AllSucceeded() ? 0 : 1;
}
