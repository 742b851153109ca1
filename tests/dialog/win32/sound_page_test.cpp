// The settings dialog's sound page with the program's real player and tag reader: Wine plays
// into the file sink of tests/support/make-sound-home, so what the page shows can be held
// against what was actually heard.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dialog/win32/settings_dialog.h"
#include "media/id3v2_tag_reader.h"
#include "media/win32/music_player.h"
#include "media/win32/sound_device.h"
#include "resource.h"
#include "support/win32/memory_program.h"
#include "support/win32/message_pump.h"
#include "support/win32/test_files.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

using support::PumpFor;
using support::PumpUntil;
using support::ReadBytes;
using support::TextOf;
using support::WriteBytes;

// An ID3v2.3 text frame in Latin-1.
std::string TextFrame(const std::string& id, const std::string& text) {
    const std::size_t size = text.size() + 1;
    std::string frame = id;
    for (int shift : {24, 16, 8, 0}) frame += static_cast<char>((size >> shift) & 0xFF);
    frame += std::string(2, '\0') + '\0' + text;
    return frame;
}

std::string Id3v23Tag(const std::string& frames) {
    std::string tag("ID3\x03\0\0", 6);
    for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((frames.size() >> shift) & 0x7F);
    return tag + frames;
}

// Seconds in the first line of the information box ("Duration: 1 sec.").
double DurationShown(const std::string& info) {
    const std::size_t blank = info.find(' ');
    return blank == std::string::npos ? -1 : std::atof(info.c_str() + blank + 1);
}

// What the open-file dialog that `owner` opens next showed, before it is answered with `file`.
struct FileDialogSeen {
    std::string Title;
    std::vector<std::string> Types;
};

std::thread AnswerFileDialog(HWND owner, std::wstring file, FileDialogSeen& seen) {
    return std::thread([owner, file = std::move(file), &seen] {
        HWND dialog = nullptr;
        for (ULONGLONG end = GetTickCount64() + 10000; dialog == nullptr && GetTickCount64() < end; Sleep(20)) {
            HWND found = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
            for (; found != nullptr; found = FindWindowExW(nullptr, found, L"#32770", nullptr))
                if (GetWindow(found, GW_OWNER) == owner && IsWindowVisible(found)) dialog = found;
        }
        if (dialog == nullptr) return;
        Sleep(200);  // let it finish showing
        seen.Title = TextOf(dialog);
        HWND types = GetDlgItem(dialog, 0x470);
        const auto count = SendMessageW(types, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t item[256] = {};
            SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            seen.Types.push_back(Narrow(item));
        }
        HWND name = GetDlgItem(dialog, 0x480);
        if (name == nullptr) {
            HWND combo = GetDlgItem(dialog, 0x47c);
            HWND inner = combo != nullptr ? FindWindowExW(combo, nullptr, L"ComboBox", nullptr) : nullptr;
            name = FindWindowExW(inner != nullptr ? inner : combo, nullptr, L"Edit", nullptr);
            if (name == nullptr) name = combo;
        }
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

class SoundPageBackgroundMusic : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t home[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"LURVANE_SOUND_HOME", home, MAX_PATH);
        ASSERT_TRUE(length > 0 && length < MAX_PATH) << "run through ctest, which makes the sound HOME";
        folder_ = L"Z:" + std::wstring(home);
        std::replace(folder_.begin(), folder_.end(), L'/', L'\\');
        sink_ = folder_ + L"\\sink.raw";
        DeleteFileW(sink_.c_str());
        const std::string tone = ReadBytes(folder_ + L"\\long-tone.mp3");
        ASSERT_FALSE(tone.empty()) << "no test music";
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        const std::wstring base = std::wstring(temp) + L"Lurvane sound page " + std::to_wstring(GetCurrentProcessId());
        untagged_ = base + L" ohne.mp3";
        tagged_ = base + L" Gr\u00fc\u00dfe.MP3";
        ASSERT_TRUE(WriteBytes(untagged_, tone));
        ASSERT_TRUE(WriteBytes(tagged_, Id3v23Tag(TextFrame("TIT2", "Wellen") + TextFrame("TPE1", "Das Meer") +
                                                  TextFrame("TALB", "Ufer") + TextFrame("TYER", "2024")) +
                                             tone));
    }
    void TearDown() override {
        dialog_.reset();
        DeleteFileW(untagged_.c_str());
        DeleteFileW(tagged_.c_str());
        DeleteFileW(sink_.c_str());
    }

    static std::optional<SongTag> ReadTag(const std::string& file, std::stop_token stop) {
        ID3v2TagInfo info;
        if (!ReadID3v2Tag(file, info, std::move(stop))) return std::nullopt;
        return SongTag{info.Title, info.Artist, info.Album, info.Year};
    }

    SettingsDialog& Open(TagReader reader = &ReadTag) {
        MusicLinks links{&player_, std::move(reader)};
        context_.emplace(program_.Context());
        dialog_.emplace(*context_, DialogLinks{}, std::move(links));
        EXPECT_TRUE(dialog_->Create(nullptr));
        ShowWindow(dialog_->Window(), SW_SHOW);
        PumpFor(50);
        return *dialog_;
    }
    HWND Control(int id) const { return dialog_->Control(id); }
    void Click(int id) {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        PumpFor(20);
    }
    void Menu(int id) {
        SendMessageW(dialog_->Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        PumpFor(20);
    }
    void Type(const std::wstring& text) {
        SetWindowTextW(Control(IDC_TXSOUNDFILE), text.c_str());
        PumpFor(20);
    }
    // Turns to `page` the way a click on its tab does.
    void TurnTo(int page) {
        HWND tab = Control(IDC_SSTAB1);
        TabCtrl_SetCurSel(tab, page);
        NMHDR header{tab, static_cast<UINT_PTR>(IDC_SSTAB1), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(dialog_->Window(), WM_NOTIFY, IDC_SSTAB1, reinterpret_cast<LPARAM>(&header));
        PumpFor(20);
    }
    std::size_t SinkSize() const { return ReadBytes(sink_).size(); }
    // Waits for the player's thread to bring the device to `mode`.
    bool ModeBecomes(const std::string& mode, DWORD milliseconds) {
        return PumpUntil([this, &mode] { return player_.GetSoundMode() == mode; }, milliseconds);
    }
    bool CaptionBecomes(const std::string& caption, DWORD milliseconds) const {
        return PumpUntil([this, &caption] { return TextOf(Control(IDC_CMDBTNPLAY)) == caption; }, milliseconds);
    }
    // The information box once the player has measured its file (the device opens a file in
    // the background, which takes Wine most of a second).
    std::string MeasuredInfo() const {
        PumpUntil([this] { return DurationShown(TextOf(Control(IDC_LABELMP3))) > 0; }, 5000);
        return TextOf(Control(IDC_LABELMP3));
    }
    // The filled part of the progress bar, in pixels; checks that it stays inside the outline.
    int BarWidth() const {
        HWND bar = Control(IDC_SNDPROGRESSBAR);
        if (!IsWindowVisible(bar)) return 0;
        RECT filled{}, outline{};
        GetWindowRect(bar, &filled);
        GetWindowRect(Control(IDC_SNDPROGRESS), &outline);
        EXPECT_TRUE(filled.left > outline.left && filled.right < outline.right && filled.top > outline.top &&
                    filled.bottom < outline.bottom)
            << "the bar leaves its outline";
        return filled.right - filled.left;
    }

    support::MemoryProgram program_;
    std::optional<ProgramContext> context_;
    MusicPlayer player_{std::make_shared<MciSoundDevice>()};
    std::optional<SettingsDialog> dialog_;
    std::wstring folder_, sink_, untagged_, tagged_;
};

TEST_F(SoundPageBackgroundMusic, PlaysAndStopsThePreviewAndDescribesTheChosenMusic) {
    program_.Settings.Write("Language", "2");
    program_.Settings.Write("BackgroundSound", Narrow(untagged_));
    const Language english(kEnglish), italian(kItalian);
    Open();
    TurnTo(1);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_CMDBTNPLAY)));
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Play));
    const std::string untaggedInfo = MeasuredInfo();
    EXPECT_EQ(untaggedInfo.substr(untaggedInfo.find("\r\n") + 2), "no ID3v2 Tag") << untaggedInfo;
    EXPECT_NEAR(DurationShown(untaggedInfo), 5.0, 0.2) << untaggedInfo;

    Click(IDC_CMDBTNPLAY);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Stop));
    PumpUntil([this] { return std::atof(TextOf(Control(IDC_LABELSNDPROGRESS)).c_str()) > 0; }, 3000);
    const std::string elapsed = TextOf(Control(IDC_LABELSNDPROGRESS));
    ASSERT_FALSE(elapsed.empty()) << "no progress after three seconds";
    EXPECT_EQ(elapsed.back(), 's');
    EXPECT_GT(std::atof(elapsed.c_str()), 0.0) << elapsed;
    const int early = BarWidth();
    EXPECT_GT(early, 0);
    // The sound system writes a stretch of silence before the music: on a busy machine the
    // progress may show before the music reaches the sink.
    std::string heard;
    EXPECT_TRUE(PumpUntil(
        [&] {
            heard = ReadBytes(sink_);
            return std::any_of(heard.begin(), heard.end(), [](char byte) { return byte != 0; });
        },
        3000))
        << "nothing but silence reached the sink";

    // Another language while it plays: the button still stops, and says so in Italian.
    Menu(IDM_ITALIAN);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), italian.GetLangString(TextId::Stop));
    EXPECT_NE(italian.GetLangString(TextId::Stop), italian.GetLangString(TextId::Play));
    EXPECT_EQ(TextOf(Control(IDC_LABELMP3)), untaggedInfo) << "the same file keeps its information";
    PumpFor(600);
    EXPECT_GT(BarWidth(), early) << "the bar grows while the music plays";
    EXPECT_GT(SinkSize(), heard.size());

    Click(IDC_CMDBTNPLAY);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), italian.GetLangString(TextId::Play));
    EXPECT_EQ(TextOf(Control(IDC_LABELSNDPROGRESS)), "");
    EXPECT_EQ(BarWidth(), 0);
    PumpFor(300);  // what the device had buffered
    const std::size_t stopped = SinkSize();
    PumpFor(800);
    EXPECT_EQ(SinkSize(), stopped) << "the music went on after Stop";
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), italian.GetLangString(TextId::Play)) << "no tick brought it back";

    // Asking for another file's information while the preview plays ends the preview first.
    Menu(IDM_ENGLISH);
    Click(IDC_CMDBTNPLAY);
    PumpFor(500);
    ASSERT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Stop));
    Type(tagged_);
    TurnTo(0);
    TurnTo(1);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Play));
    EXPECT_EQ(TextOf(Control(IDC_LABELSNDPROGRESS)), "");
    EXPECT_EQ(BarWidth(), 0);
    const std::string taggedInfo = MeasuredInfo();
    EXPECT_EQ(taggedInfo.substr(taggedInfo.find("\r\n") + 2),
              "Title: Wellen\r\nArtist: Das Meer\r\nAlbum: Ufer\r\nYear: 2024")
        << taggedInfo;
    EXPECT_NEAR(DurationShown(taggedInfo), 5.0, 0.2) << "the device measured the tagged copy too: " << taggedInfo;
    PumpFor(400);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Play));

    // An empty box: nothing to play and nothing to describe.
    Type(L"");
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_CMDBTNPLAY)));
    EXPECT_EQ(TextOf(Control(IDC_LABELMP3)), "");

    // OK stops a playing preview and stores the file with the loop choice.
    Type(untagged_);
    // Checked the way the box itself reports a click to its page.
    SendMessageW(Control(IDC_CHKLOOP), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(GetParent(Control(IDC_CHKLOOP)), WM_COMMAND, MAKEWPARAM(IDC_CHKLOOP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDC_CHKLOOP)));
    Click(IDC_CMDBTNPLAY);
    PumpFor(400);
    ASSERT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Stop));
    Click(IDOK);
    EXPECT_TRUE(dialog_->Saved());
    EXPECT_TRUE(ModeBecomes("", 2000)) << "the device is still open after OK";
    EXPECT_EQ(program_.Settings.Read("BackgroundSound"), Narrow(untagged_));
    EXPECT_EQ(program_.Settings.Read("LoopSound"), "1");
}

TEST_F(SoundPageBackgroundMusic, TheFileChooserOffersSoundFilesAndTheCloseBoxEndsThePreview) {
    program_.Settings.Write("Language", "2");
    program_.Settings.Write("BackgroundSound", Narrow(untagged_));
    const Language english(kEnglish);
    Open();
    TurnTo(1);
    Click(IDC_CMDBTNPLAY);
    PumpFor(500);
    ASSERT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Stop));

    // Choosing another file while the preview plays: the preview ends, the new file is described.
    FileDialogSeen seen;
    std::thread answer = AnswerFileDialog(dialog_->Window(), tagged_, seen);
    Click(IDC_CMDBTNFINDSNDFILE);
    answer.join();
    EXPECT_EQ(seen.Title, "Choose background music");
    EXPECT_EQ(seen.Types, (std::vector<std::string>{"All soundfiles (*.mp3;*.wma;*.mid;*.wav)", "MP3 (*.mp3)",
                                                    "WMA (*.wma)", "MID (*.mid)", "WAV (*.wav)",
                                                    "All files (*.*)"}));
    EXPECT_EQ(TextOf(Control(IDC_TXSOUNDFILE)), Narrow(tagged_));
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Play));
    EXPECT_EQ(TextOf(Control(IDC_LABELSNDPROGRESS)), "");
    // The tag is read on a thread of its own; until then the box stays empty.
    PumpUntil([this] { return !TextOf(Control(IDC_LABELMP3)).empty(); }, 2000);
    const std::string info = TextOf(Control(IDC_LABELMP3));
    EXPECT_NE(info.find("\r\nTitle: Wellen\r\n"), std::string::npos) << info;

    // A piece that ends by itself, and one that cannot play at all, bring the page back to Play.
    Type(folder_ + L"\\tone.mp3");
    Click(IDC_CMDBTNPLAY);
    PumpFor(400);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Stop));
    EXPECT_TRUE(CaptionBecomes(english.GetLangString(TextId::Play), 5000)) << "the one-second tone never ended";
    EXPECT_EQ(TextOf(Control(IDC_LABELSNDPROGRESS)), "");
    EXPECT_EQ(BarWidth(), 0);
    Type(folder_ + L"\\nowhere.mp3");
    Click(IDC_CMDBTNPLAY);
    EXPECT_EQ(TextOf(Control(IDC_CMDBTNPLAY)), english.GetLangString(TextId::Stop));
    EXPECT_TRUE(CaptionBecomes(english.GetLangString(TextId::Play), 3000)) << "a play that cannot start";
    EXPECT_EQ(TextOf(Control(IDC_LABELMP3)), "Duration: 0 sec.\r\nno ID3v2 Tag");

    // The close box stops a preview and stores nothing.
    Type(tagged_);
    Click(IDC_CMDBTNPLAY);
    ASSERT_TRUE(ModeBecomes("playing", 5000));
    SendMessageW(dialog_->Window(), WM_CLOSE, 0, 0);
    PumpFor(20);
    EXPECT_TRUE(dialog_->Finished());
    EXPECT_FALSE(dialog_->Saved());
    EXPECT_TRUE(ModeBecomes("", 2000)) << "the device is still open after the close box";
    EXPECT_EQ(program_.Settings.Read("BackgroundSound"), Narrow(untagged_));
}

TEST_F(SoundPageBackgroundMusic, AReadingTagNeverHoldsUpThePageAndALaterFileStopsIt) {
    std::atomic<bool> slowReadingStopped = false;
    Open([&](const std::string& file, std::stop_token stop) -> std::optional<SongTag> {
        if (file.ends_with("quick.mp3")) return SongTag{"Quick", "", "", ""};
        // Reads like a long file on a slow drive; gives up by itself so that a page that
        // waited for it fails instead of hanging.
        for (const ULONGLONG end = GetTickCount64() + 4000; GetTickCount64() < end; Sleep(5))
            if (stop.stop_requested()) {
                slowReadingStopped = true;
                return std::nullopt;
            }
        return SongTag{"Slow", "", "", ""};
    });
    // Turning to the page tells what the file in the box is.
    Type(folder_ + L"\\slow.mp3");
    const ULONGLONG before = GetTickCount64();
    TurnTo(1);
    EXPECT_LT(GetTickCount64() - before, 2000u) << "the page waited for the tag";
    EXPECT_EQ(TextOf(Control(IDC_LABELMP3)), "") << "information before the tag is read";
    Type(folder_ + L"\\quick.mp3");
    TurnTo(1);
    EXPECT_TRUE(PumpUntil([&] { return slowReadingStopped.load(); }, 2000));
    EXPECT_TRUE(PumpUntil([this] { return TextOf(Control(IDC_LABELMP3)).find(": Quick\r\n") != std::string::npos; },
                          2000))
        << TextOf(Control(IDC_LABELMP3));
}

}  // namespace
}  // namespace lurvane::win32
