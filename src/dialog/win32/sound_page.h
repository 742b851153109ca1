// The settings dialog's sound part: the music file, the preview's play and stop with its
// progress, the loop box and the box that tells what the file is.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dialog/sound_page_rules.h"
#include "dialog/win32/background_tag_reading.h"
#include "dialog/win32/page_host.h"
#include "program/win32/background_music.h"
#include "program/win32/program_context.h"
#include "settings/settings_model.h"

namespace lurvane::win32 {

// What the sound page reaches: the program's one player, and the tag reader, which lives in
// the media folder beside this one. Without a player the page shows no length and plays nothing.
struct MusicLinks {
    BackgroundMusic* Player = nullptr;
    TagReader ReadTag;
};

class SoundPage {
public:
    SoundPage(PageHost& host, SettingsModel& model, const ProgramContext& context, MusicLinks music);
    SoundPage(const SoundPage&) = delete;
    SoundPage& operator=(const SoundPage&) = delete;

    // False when the control is not one of this page's.
    bool OnCommand(int id, int code);
    void UpdateEnabledStates();
    // Tells what the file in the box is, once per file name; its length follows when the
    // player has measured it.
    void DisplayMP3Info();
    void OnSoundMeasured(uint32_t measurement, int32_t length);
    void OnSoundTagRead(uint32_t reading);
    void ShowPlayCaption();
    // One tick of the timer that follows a playing preview.
    void OnSoundTimer();
    void StopSoundPreview();

private:
    void ChooseSoundFile();
    void OnPlay();
    void ShowSoundProgress(int32_t length, int32_t position);
    void ShowSoundInfo();

    PageHost& host_;
    SettingsModel& model_;
    const ProgramContext& context_;
    MusicLinks music_;
    // The preview's state lives here and not in the button's caption, which a language
    // change rewrites.
    bool previewingSound_ = false;
    std::string lastDisplayedSoundFile_;
    // Only the latest file's measurement and tag count; the information is gathered here. An
    // MP3's information shows once its tag is read, its length when the device has measured it.
    uint32_t soundMeasurement_ = 0;
    bool soundIsMp3_ = false;
    bool tagPending_ = false;
    std::optional<SongTag> soundTag_;
    int32_t soundLength_ = 0;
    BackgroundTagReading tagReading_;
};

}  // namespace lurvane::win32
