// The background music's commands as the device receives them, its playing flag, and the
// short-name lookup of the real device.
#include "media/win32/sound.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "media/win32/sound_device.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

using namespace std::string_literals;

// Records every command; commands whose verb is in `Failing` are refused as a device without
// a sound card refuses them.
class RecordingDevice final : public SoundDevice {
public:
    std::optional<std::string> ShortForm;
    std::set<std::string> Failing;
    std::string Reply;
    std::vector<SoundCommand> Sent;

    std::optional<std::string> ShortPath(const std::string&) override { return ShortForm; }
    uint32_t Send(const SoundCommand& command) override {
        Sent.push_back(command);
        return Failing.count(command.Text.substr(0, command.Text.find(' '))) ? 277u : 0u;
    }
    std::string Query(const std::string& command) override {
        Sent.push_back({command, MciCall::Ansi});
        std::string buffer(255, '\0');
        buffer.replace(0, Reply.size(), Reply);
        return buffer;
    }
    std::vector<SoundCommand> Take() { return std::exchange(Sent, {}); }
};

SoundCommand Ansi(const std::string& text) { return {text, MciCall::Ansi}; }

TEST(Sound, SendsTheDevicesCommandTextsExactly) {
    RecordingDevice device;
    device.ShortForm = "C:\\PROGRA~1\\MUSIC\\SUMMER~1.MP3";
    Sound sound(device);

    EXPECT_TRUE(sound.PlayBackgroundSound("C:\\Program Files\\Music\\Summer Song.mp3", true));
    EXPECT_EQ(device.Take(), (std::vector{Ansi("open C:\\PROGRA~1\\MUSIC\\SUMMER~1.MP3 type MPEGVideo alias LurvaneSound"),
                                          Ansi("play LurvaneSound from 0 repeat")}));
    device.Reply = "215040";
    EXPECT_EQ(sound.GetSoundPosition(), 215040);
    EXPECT_EQ(sound.GetSoundLength(), 215040);
    device.Reply = "playing";
    EXPECT_EQ(sound.GetSoundMode(), "playing");
    EXPECT_EQ(device.Take(), (std::vector{Ansi("status LurvaneSound position"), Ansi("status LurvaneSound length"),
                                          Ansi("status LurvaneSound mode")}));
    sound.StopBackgroundSound();
    EXPECT_EQ(device.Take(), (std::vector{Ansi("stop LurvaneSound"), Ansi("close LurvaneSound")}));

    sound.OpenBackgroundSound("C:\\Program Files\\Music\\Summer Song.mp3");
    EXPECT_TRUE(sound.PlayBackgroundSound("C:\\Program Files\\Music\\Summer Song.mp3", false));
    const auto sent = device.Take();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], sent[1]) << "the open without play is the same open";
    EXPECT_EQ(sent[2], Ansi("play LurvaneSound from 0"));
}

TEST(Sound, QuotesTheLongPathOnlyWhereTheShortFormCannotServe) {
    const struct {
        const char* LongPath;
        std::optional<std::string> ShortForm;
        bool Quoted;
    } cases[] = {
        {"D:\\Meine Musik\\Lied.mp3", "D:\\MEINEM~1\\Lied.mp3", false},
        {"D:\\Musik\\Lied.mp3", std::nullopt, true},  // the lookup failed or overflowed
        {"D:\\Meine Musik\\Lied.mp3", "D:\\Meine Musik\\Lied.mp3", true},  // a volume without short names
        {"D:\\Musik\\Grüße.mp3", "D:\\Musik\\Grüße.mp3", true},
    };
    for (const auto& c : cases) {
        RecordingDevice device;
        device.ShortForm = c.ShortForm;
        Sound sound(device);
        sound.PlayBackgroundSound(c.LongPath, false);
        const std::string tail = " type MPEGVideo alias LurvaneSound";
        const SoundCommand expected = c.Quoted ? SoundCommand{"open \""s + c.LongPath + "\"" + tail, MciCall::Wide}
                                               : Ansi("open " + *c.ShortForm + tail);
        EXPECT_EQ(device.Sent, (std::vector{expected, Ansi("play LurvaneSound from 0")})) << c.LongPath;
    }
}

TEST(Sound, ThePlayingFlagFollowsAcceptedPlaysAndStopsOnly) {
    RecordingDevice device;
    device.ShortForm = "C:\\MUSIK\\LIED.MP3";
    Sound sound(device);

    EXPECT_FALSE(sound.PlayBackgroundSound("", true));
    EXPECT_TRUE(device.Take().empty()) << "an empty name sends nothing";

    device.Failing = {"open"};
    EXPECT_FALSE(sound.PlayBackgroundSound("C:\\Musik\\Lied.mp3", true));
    EXPECT_EQ(device.Take().size(), 1u) << "no play after a failed open";
    EXPECT_FALSE(sound.IsBackgroundSoundPlaying());

    device.Failing = {"play"};
    EXPECT_FALSE(sound.PlayBackgroundSound("C:\\Musik\\Lied.mp3", true));
    EXPECT_EQ(device.Take().size(), 2u);
    EXPECT_FALSE(sound.IsBackgroundSoundPlaying());

    device.Failing = {};
    EXPECT_TRUE(sound.PlayBackgroundSound("C:\\Musik\\Lied.mp3", false));
    device.Reply = "stopped";  // the music reached its end by itself
    EXPECT_EQ(sound.GetSoundMode(), "stopped");
    EXPECT_TRUE(sound.IsBackgroundSoundPlaying());
    sound.StopBackgroundSound();
    EXPECT_FALSE(sound.IsBackgroundSoundPlaying());

    // Nothing open: the device refuses everything and answers with an empty buffer.
    device.Failing = {"stop", "close", "status"};
    device.Reply.clear();
    sound.StopBackgroundSound();
    EXPECT_FALSE(sound.IsBackgroundSoundPlaying());
    EXPECT_EQ(sound.GetSoundPosition(), 0);
    EXPECT_EQ(sound.GetSoundLength(), 0);
    EXPECT_EQ(sound.GetSoundMode(), "");
}

class TempMusicFolder {
public:
    TempMusicFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        root_ = std::wstring(temp) + L"Lurvane Musik \u00c4 " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~TempMusicFolder() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
        RemoveDirectoryW(root_.c_str());
    }
    const std::wstring& Root() const { return root_; }
    bool MakeFolder(const std::wstring& path) {
        made_.push_back(path);
        return CreateDirectoryW(path.c_str(), nullptr) != 0;
    }
    bool MakeFile(const std::wstring& path) {
        made_.push_back(path);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
        return true;
    }

private:
    std::wstring root_;
    std::vector<std::wstring> made_;
};

TEST(MciSoundDevice, TheShortFormIsOnlyTakenWhenItFitsItsBuffer) {
    TempMusicFolder folder;
    MciSoundDevice device;
    const std::wstring music = folder.Root() + L"\\Gr\u00fc\u00dfe 1.mp3";
    ASSERT_TRUE(folder.MakeFile(music));

    const std::optional<std::string> shortForm = device.ShortPath(Narrow(music));
    ASSERT_TRUE(shortForm.has_value());
    // The system keeps short names here, so the open needs no quotes.
    EXPECT_EQ(OpenSoundCommand(Narrow(music), shortForm)->Call, MciCall::Ansi) << *shortForm;
    wchar_t longAgain[MAX_PATH] = {};
    ASSERT_NE(GetLongPathNameW(Widen(*shortForm).c_str(), longAgain, MAX_PATH), 0u) << *shortForm;
    EXPECT_EQ(CompareStringOrdinal(longAgain, -1, music.c_str(), -1, TRUE), CSTR_EQUAL) << *shortForm;

    EXPECT_EQ(device.ShortPath(Narrow(folder.Root() + L"\\nicht da.mp3")), std::nullopt);
    EXPECT_EQ(device.ShortPath(""), std::nullopt);

    // Eight-letter names are their own short form; enough of them do not fit 255 characters.
    std::wstring deep = L"\\\\?\\" + folder.Root();
    for (int level = 0; level < 30; ++level) {
        deep += L"\\Lurvane" + std::to_wstring(level % 10);
        ASSERT_TRUE(folder.MakeFolder(deep)) << GetLastError();
    }
    ASSERT_TRUE(folder.MakeFile(deep + L"\\LIED.MP3"));
    EXPECT_EQ(device.ShortPath(Narrow(deep + L"\\LIED.MP3")), std::nullopt);
}

// The real device, but on a volume that keeps no short names when `shortNames` is off; it
// remembers how the open went out.
class ShortNamesOptional final : public SoundDevice {
public:
    explicit ShortNamesOptional(bool shortNames) : shortNames_(shortNames) {}
    std::optional<MciCall> OpenCall;

    std::optional<std::string> ShortPath(const std::string& longPath) override {
        return shortNames_ ? real_.ShortPath(longPath) : std::nullopt;
    }
    uint32_t Send(const SoundCommand& command) override {
        if (command.Text.starts_with("open ")) OpenCall = command.Call;
        return real_.Send(command);
    }
    std::string Query(const std::string& command) override { return real_.Query(command); }

private:
    MciSoundDevice real_;
    bool shortNames_;
};

// Wine's sound goes to a file here: ctest gives this test the HOME that
// tests/support/make-sound-home makes, with a one-second tone in it.
TEST(BackgroundMusicDevice, PlaysThroughTheShortFormAndThroughTheQuotedLongPath) {
    wchar_t home[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"LURVANE_SOUND_HOME", home, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH) << "run through ctest, which makes the sound HOME";
    std::wstring folderOfHome = L"Z:" + std::wstring(home);
    std::replace(folderOfHome.begin(), folderOfHome.end(), L'/', L'\\');
    const std::wstring sink = folderOfHome + L"\\sink.raw";
    TempMusicFolder folder;
    const std::wstring music = folder.Root() + L"\\Gr\u00fc\u00dfe 1.mp3";
    ASSERT_TRUE(CopyFileW((folderOfHome + L"\\tone.mp3").c_str(), music.c_str(), FALSE));

    for (bool shortNames : {true, false}) {
        SCOPED_TRACE(shortNames ? "short form" : "quoted long path");
        DeleteFileW(sink.c_str());
        ShortNamesOptional device(shortNames);
        Sound sound(device);
        ASSERT_TRUE(sound.PlayBackgroundSound(Narrow(music), false));
        EXPECT_EQ(device.OpenCall, shortNames ? MciCall::Ansi : MciCall::Wide);
        EXPECT_NEAR(sound.GetSoundLength(), 1000, 100);
        Sleep(400);
        EXPECT_EQ(sound.GetSoundMode(), "playing");
        EXPECT_GT(sound.GetSoundPosition(), 0);
        sound.StopBackgroundSound();
        EXPECT_EQ(sound.GetSoundMode(), "") << "the device is closed";
        EXPECT_EQ(sound.GetSoundLength(), 0);

        HANDLE file = CreateFileW(sink.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << "nothing was played";
        std::string samples(1 << 20, '\0');
        DWORD read = 0;
        ReadFile(file, samples.data(), static_cast<DWORD>(samples.size()), &read, nullptr);
        CloseHandle(file);
        samples.resize(read);
        EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](char byte) { return byte != 0; }))
            << "only silence was played";
    }
    DeleteFileW(music.c_str());
}

}  // namespace
}  // namespace lurvane::win32
