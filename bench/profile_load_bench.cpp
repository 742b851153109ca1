// The profile part of a saver start with random backgrounds: a 16 MiB profile (the largest the
// reader accepts) beside the random picture, loaded through the settings snapshot; and a whole
// "Save profile" into such a file. Prints the time of one start or save and the peak resident
// memory it needed ("peak_MiB", Linux only).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/ini_file.h"
#include "settings/profile.h"
#include "settings/settings_model.h"
#include "util/file_functions.h"
#include "waves/settings_snapshot.h"

namespace lurvane {
namespace {

// The real keys come last, so every lookup has to walk the whole file.
const std::string kProfileEnd =
    "\r\n[Path]\r\nPoints=100,200;3000,200;3000,3000\r\n[Wave]\r\nDirection=1\r\nCount=9\r\nFreq=40\r\nAmp=5\r\n"
    "Asc=20\r\n[Animation]\r\nFramerate=25\r\n";

std::filesystem::path BenchFolder() { return std::filesystem::temp_directory_path() / "lurvane_profile_bench"; }

// Fills the file up to the reader's limit with copies of `unit`, then the real profile.
std::string WriteProfile(const std::string& name, const std::string& unit) {
    const auto folder = BenchFolder();
    std::filesystem::create_directories(folder);
    const std::string picture = (folder / (name + ".jpg")).string();
    std::ofstream(picture, std::ios::binary) << "jpeg";
    std::string bytes;
    bytes.reserve(kIniFileLimit);
    while (bytes.size() + unit.size() + kProfileEnd.size() <= kIniFileLimit) bytes += unit;
    bytes += kProfileEnd;
    std::ofstream((folder / (name + ".rpp")).string(), std::ios::binary) << bytes;
    return picture;
}

// Peak resident memory since the last reset, in MiB; 0 where /proc does not offer it.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void StartWithProfile(benchmark::State& state, const std::string& name, const std::string& unit) {
    const std::string picture = WriteProfile(name, unit);
    SettingsModel stored;
    stored.SetNumber(SettingId::RandomizeBackground, 1);
    SnapshotEnvironment environment;
    environment.ScreenWidth = 1920;
    environment.ScreenHeight = 1080;
    environment.LoadPicture = [](const std::string&) { return PictureSize{1600, 1200}; };
    environment.PickRandomBackground = [&picture](const std::string&, bool) { return picture; };

    ResetPeakMemory();
    EngineSettings engine;
    for (auto _ : state) {
        engine.BackgroundImage.clear();
        SetGlobalSettings(stored, environment, engine);
        benchmark::DoNotOptimize(engine.WaveAsc);
    }
    if (engine.WaveCount != 9 || engine.Framerate != 25 || engine.PathPoints.size() != 3)
        state.SkipWithError("the profile was not applied");
    state.counters["peak_MiB"] = PeakMemoryMiB();
    std::error_code ignored;
    std::filesystem::remove_all(BenchFolder(), ignored);
}

void SaveIntoProfile(benchmark::State& state, const std::string& name, const std::string& unit) {
    SettingsModel model;
    model.SetText(SettingId::PathPoints, "100,200;3000,200;3000,3000");
    model.SetProfilePath(GetProfilePath(WriteProfile(name, unit)));
    ResetPeakMemory();
    for (auto _ : state)
        if (!SaveINI(model)) state.SkipWithError("the profile was not saved");
    state.counters["peak_MiB"] = PeakMemoryMiB();
    std::error_code ignored;
    std::filesystem::remove_all(BenchFolder(), ignored);
}

BENCHMARK_CAPTURE(SaveIntoProfile, empty_lines, "empty_lines", "\n")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveIntoProfile, one_long_line, "one_long_line", "x")->Unit(benchmark::kMillisecond);

// Many empty lines: the most lines a file of this size can have.
BENCHMARK_CAPTURE(StartWithProfile, empty_lines, "empty_lines", "\n")->Unit(benchmark::kMillisecond);
// Many short keys in an unrelated section.
BENCHMARK_CAPTURE(StartWithProfile, short_keys, "short_keys", "[Other]\r\nk=v\r\n")->Unit(benchmark::kMillisecond);
// Many section headers.
BENCHMARK_CAPTURE(StartWithProfile, many_sections, "many_sections", "[W]\r\n")
    ->Unit(benchmark::kMillisecond);
// One huge line.
BENCHMARK_CAPTURE(StartWithProfile, one_long_line, "one_long_line", "x")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lurvane

BENCHMARK_MAIN();
