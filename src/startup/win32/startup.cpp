#include "startup/win32/startup.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "about/win32/about_box.h"
#include "dialog/win32/settings_entry.h"
#include "media/id3v2_tag_reader.h"
#include "media/win32/music_player.h"
#include "media/win32/sound_device.h"
#include "saver/win32/main_form.h"
#include "saver/win32/saver_run.h"
#include "saver/win32/saver_session.h"
#include "settings/win32/registry_store.h"
#include "startup/command_line.h"
#include "util/win32/handles.h"
#include "util/win32/system_clock.h"
#include "util/win32/text_convert.h"
#include "util/win32/win32_file_system.h"

namespace lurvane::win32 {
namespace {

void ChangePassword() {
    MainForm form;
    if (!form.Load()) return;
    Module mpr(LoadLibraryW(L"mpr.dll"));
    if (!mpr) return;
    using ChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    auto changePassword = reinterpret_cast<ChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(mpr.get(), "PwdChangePasswordA")));
    if (changePassword != nullptr) changePassword("SCRSAVE", form.Window(), 0, nullptr);
}

}  // namespace

bool IsDllAvailable(const wchar_t* name) {
    if (GetModuleHandleW(name) != nullptr) return true;
    Module module(LoadLibraryW(name));
    return static_cast<bool>(module);
}

bool IsSaverWindowPresent(const Trace& trace) {
    const bool found = FindWindowW(nullptr, kSaverWindowTitle) != nullptr;
    trace.TraceQuietly(found ? "LurvaneScreenSaver found" : "LurvaneScreenSaver not found");
    return found;
}

bool AnotherSaverIsRunning(const Trace& trace) {
    IsSaverWindowPresent(trace);
    return IsSaverWindowPresent(trace);
}

int StartFullScreenSaver(const ProgramContext& context, const MonitorList& monitors, BackgroundMusic& music,
                         bool startedManually) {
    // Another instance already shows its saver window: this one ends without showing anything.
    if (AnotherSaverIsRunning(context.Tracer)) return 0;

    SaverSession session(context, monitors, music);
    if (!session.Load()) return 1;
    session.Start(startedManually);
    return session.Run();
}

namespace {

// The sound page's view of a music file's tag; nothing when the file has none.
std::optional<SongTag> ReadSongTag(const std::string& file, std::stop_token stop) {
    ID3v2TagInfo info;
    if (!ReadID3v2Tag(file, info, std::move(stop))) return std::nullopt;
    return SongTag{info.Title, info.Artist, info.Album, info.Year};
}

// How long the end of the program waits for the music's thread to close the device.
constexpr DWORD kMusicEndWait = 500;

int RunMode(const ProgramContext& context, BackgroundMusic& music, const std::string& commandLine) {
    switch (SelectMode(commandLine)) {
    case SaverMode::FullScreen:
        return StartFullScreenSaver(context, SystemMonitors(), music, false);
    case SaverMode::FullScreenManual:
        return StartFullScreenSaver(context, SystemMonitors(), music, true);
    case SaverMode::Settings:
        return RunSettingsDialog(context, ParseWindowHandle(commandLine),
                                 {[&context](HWND owner) { ShowAboutBox(owner, context); },
                                  [&context](HWND owner) { OpenUpdatePage(context, owner); }},
                                 {&music, &ReadSongTag});
    case SaverMode::ChangePassword:
        ChangePassword();
        return 0;
    case SaverMode::Preview: {
        SaverRun run(context, music);
        return StartPreview(run, ParseWindowHandle(commandLine), context.Tracer);
    }
    case SaverMode::None:
        break;
    }
    return 0;
}

}  // namespace

int Main(std::wstring_view fullCommandLine, std::wstring_view programPath) {
    if (!IsDllAvailable(L"gdiplus.dll")) {
        MessageBoxW(nullptr, L"GDI+ DLL fehlt. Programm wird beendet.", L"Lurvane", MB_OK);
        return 0;
    }
    RegistrySettingsStore settings;
    const Win32FileSystem files;
    Language texts;
    const SystemClock clock;
    const GdiPlus pictures;
    const ProgramContext context{settings, files, texts, Trace::FromEnvironment(), clock, pictures};
    MusicPlayer music(std::make_shared<MciSoundDevice>());

    const std::string commandLine(ArgumentsOf(Narrow(fullCommandLine), Narrow(programPath)));
    const int exitCode = RunMode(context, music, commandLine);
    // Every window has gone. A thread stuck inside the decoder must not keep the program alive:
    // end at once, without the libraries' clean-up that the stuck thread may be inside.
    if (!music.Finish(kMusicEndWait)) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    return exitCode;
}

}  // namespace lurvane::win32
