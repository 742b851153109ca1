#include "dialog/win32/sound_page.h"

#include "dialog/win32/dialog_controls.h"
#include "dialog/win32/dialog_tables.h"
#include "resource.h"
#include "util/common_dialog_rules.h"
#include "util/text_rules.h"
#include "util/win32/common_dialogs.h"
#include "util/win32/locale_text.h"

namespace lurvane::win32 {
namespace {

constexpr UINT kSoundTimerInterval = 200;

}  // namespace

SoundPage::SoundPage(PageHost& host, SettingsModel& model, const ProgramContext& context, MusicLinks music)
    : host_(host), model_(model), context_(context), music_(std::move(music)), tagReading_(music_.ReadTag) {}

bool SoundPage::OnCommand(int id, int code) {
    switch (id) {
    case IDC_TXSOUNDFILE:
        if (code == EN_CHANGE && !host_.RewritingText()) {
            host_.TakeSetting(SettingId::BackgroundSound);
            host_.UpdateEnabledStates();
            // An empty box disables the button, so a preview could not be stopped any more;
            // and its information goes at once, which asks the device nothing.
            if (TrimBlanks(model_.Text(SettingId::BackgroundSound)).empty()) {
                StopSoundPreview();
                DisplayMP3Info();
            }
        }
        return true;
    case IDC_CHKLOOP:
        if (code == BN_CLICKED) {
            host_.TakeSetting(SettingId::LoopSound);
            host_.UpdateEnabledStates();
        }
        return true;
    case IDC_CMDBTNFINDSNDFILE:
        ChooseSoundFile();
        return true;
    case IDC_CMDBTNPLAY:
        if (code == BN_CLICKED) OnPlay();
        return true;
    }
    return false;
}

void SoundPage::UpdateEnabledStates() {
    EnableWindow(host_.Control(IDC_CMDBTNPLAY), !model_.Text(SettingId::BackgroundSound).empty());
}

void SoundPage::ChooseSoundFile() {
    const Language& texts = context_.Texts;
    std::string path = WindowText(host_.Control(IDC_TXSOUNDFILE));
    FileDialogRequest request;
    request.Title = texts.GetLangString(TextId::ChooseBackgroundMusic);
    request.Filter = FilterText({{texts.GetLangString(TextId::AllSoundFiles) + " (*.mp3;*.wma;*.mid;*.wav)",
                                  "*.mp3;*.wma;*.mid;*.wav"},
                                 {"MP3 (*.mp3)", "*.mp3"},
                                 {"WMA (*.wma)", "*.wma"},
                                 {"MID (*.mid)", "*.mid"},
                                 {"WAV (*.wav)", "*.wav"},
                                 {texts.GetLangString(TextId::AllFiles) + " (*.*)", "*.*"}});
    request.ViewCommand = kThumbnailView;
    // The box's change handling takes the chosen name into the model.
    if (ShowFileDialog(host_.Window(), request, path)) SetText(host_.Control(IDC_TXSOUNDFILE), path);
    DisplayMP3Info();
}

void SoundPage::DisplayMP3Info() {
    HWND box = host_.Control(IDC_TXSOUNDFILE);
    HWND info = host_.Control(IDC_LABELMP3);
    if (box == nullptr || info == nullptr) return;
    const std::string file = WindowText(box);
    if (file == lastDisplayedSoundFile_) return;
    lastDisplayedSoundFile_ = file;
    const uint32_t measurement = ++soundMeasurement_;  // an earlier file's length is no longer wanted
    if (TrimBlanks(file).empty()) {
        tagReading_.Stop();
        SetText(info, "");
        return;
    }
    soundIsMp3_ = IsMp3Name(file);
    soundTag_.reset();
    // Until the device has measured the file, the box shows the length of one it cannot open.
    soundLength_ = 0;
    tagPending_ = soundIsMp3_ && tagReading_;
    if (tagPending_) {
        SetText(info, "");
        tagReading_.Start(file, host_.Window(), kSoundTagRead, measurement);
    }
    ShowSoundInfo();
    if (music_.Player == nullptr) return;
    // The device has one alias: a preview still holding it would make the open fail.
    StopSoundPreview();
    music_.Player->MeasureSoundLength(file, [frame = host_.Window(), measurement](int32_t length) {
        PostMessageW(frame, kSoundMeasured, measurement, length);
    });
}

void SoundPage::OnSoundMeasured(uint32_t measurement, int32_t length) {
    if (measurement != soundMeasurement_) return;
    soundLength_ = length;
    ShowSoundInfo();
}

void SoundPage::OnSoundTagRead(uint32_t reading) {
    if (reading != soundMeasurement_) return;
    soundTag_ = tagReading_.Take(reading);
    tagPending_ = false;
    ShowSoundInfo();
}

void SoundPage::ShowSoundInfo() {
    if (tagPending_) return;
    SetText(host_.Control(IDC_LABELMP3),
            SoundInfoText(context_.Texts, soundLength_, soundIsMp3_, soundTag_, UserDecimalSeparator()));
}

void SoundPage::OnPlay() {
    if (previewingSound_) {
        StopSoundPreview();
        return;
    }
    if (music_.Player == nullptr) return;
    DisplayMP3Info();
    previewingSound_ = true;
    ShowPlayCaption();
    // A play that fails shows at the first tick, when the device does not report "playing".
    music_.Player->PlayBackgroundSound(WindowText(host_.Control(IDC_TXSOUNDFILE)), false);
    SetTimer(host_.Window(), kSoundTimer, kSoundTimerInterval, nullptr);
}

void SoundPage::OnSoundTimer() {
    if (!previewingSound_ || music_.Player == nullptr) {
        KillTimer(host_.Window(), kSoundTimer);
        return;
    }
    const int32_t length = music_.Player->GetSoundLength();
    const int32_t position = music_.Player->GetSoundPosition();
    const std::optional<std::string> mode = music_.Player->GetSoundMode();
    // A device still busy with the file has not answered: the preview goes on, as shown, until
    // the device answers or the user stops it.
    if (!mode) return;
    if (*mode != "playing") {
        StopSoundPreview();
        return;
    }
    ShowSoundProgress(length, position);
}

void SoundPage::StopSoundPreview() {
    if (!previewingSound_) return;
    previewingSound_ = false;
    if (host_.Window() != nullptr) KillTimer(host_.Window(), kSoundTimer);
    if (music_.Player != nullptr) music_.Player->StopBackgroundSound();
    ShowPlayCaption();
    ShowSoundProgress(0, 0);
}

void SoundPage::ShowPlayCaption() {
    SetText(host_.Control(IDC_CMDBTNPLAY),
            context_.Texts.GetLangString(previewingSound_ ? TextId::Stop : TextId::Play));
}

void SoundPage::ShowSoundProgress(int32_t length, int32_t position) {
    HWND outline = host_.Control(IDC_SNDPROGRESS);
    HWND bar = host_.Control(IDC_SNDPROGRESSBAR);
    if (outline == nullptr || bar == nullptr) return;
    // The bar fills the inside of the outline, never its border.
    RECT inside = PlaceOf(outline);
    InflateRect(&inside, -1, -1);
    const int width = ProgressBarWidth(inside.right - inside.left, length, position);
    SetWindowPos(bar, nullptr, inside.left, inside.top, width, inside.bottom - inside.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (width > 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    SetText(host_.Control(IDC_LABELSNDPROGRESS),
            length == 0 ? "" : SecondsText(position, UserDecimalSeparator(), false) + "s");
}

}  // namespace lurvane::win32
