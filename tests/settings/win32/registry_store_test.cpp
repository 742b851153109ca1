#include "settings/win32/registry_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/file_bytes.h"
#include "settings/ini_file.h"
#include "settings/profile.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "util/file_functions.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

using enum SettingId;

// A key of its own, so a test run never touches the real settings.
constexpr const char* kTestRoot = "Software\\Brannick\\LurvaneTests";
const std::string kTestKey = std::string("HKEY_CURRENT_USER\\") + kTestRoot + "\\Settings";

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kTestRoot).c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kTestRoot).c_str()); }

    // The value as it lies in the registry: its type and its bytes.
    static std::pair<DWORD, std::wstring> RawValue(const std::string& name) {
        RegistryKey key = OpenRegistryPath(kTestKey, false);
        DWORD type = 0;
        DWORD size = 0;
        if (!key || RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return {REG_NONE, L"<missing>"};
        std::wstring data(size / sizeof(wchar_t), L'?');
        RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        return {type, data};
    }

    static void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
        RegistryKey key = OpenRegistryPath(kTestKey, true);
        ASSERT_TRUE(key);
        RegSetValueExW(key.get(), Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
    }
};

TEST_F(RegistryStore, AllEighteenValuesRoundTripIncludingNonAsciiPaths) {
    SettingsModel saved;
    saved.SetNumber(Language, 2);
    saved.SetNumber(Framerate, 42);
    saved.SetNumber(WaveFreq, 55);
    saved.SetNumber(WaveDirection, 1);
    saved.SetNumber(WaveCount, 0);
    saved.SetNumber(WaveAmp, 7);
    saved.SetText(WaveAsc, "33");
    saved.SetNumber(UseSystemTimer, 0);
    saved.SetNumber(ShowFPS, 1);
    saved.SetText(BackgroundImage, "C:\\Bilder f\xC3\xBCr Oma\\Strand.jpg");
    saved.SetText(PathPoints, "100,200;-30,4000;2500,3000");
    saved.SetNumber(RandomizeBackground, 1);
    saved.SetNumber(MaximizeBackground, 0);
    saved.SetNumber(ColorBackground, 0x00336699);
    saved.SetText(SizeBackground, "75");
    saved.SetText(RestartSec, "0");
    saved.SetText(BackgroundSound, "D:\\\xE6\xB3\xA2\\caf\xC3\xA9.mp3");
    saved.SetNumber(LoopSound, 0);

    RegistrySettingsStore store(kTestKey);
    ASSERT_TRUE(SaveSettings(saved, store));

    // UTF-16 text with its terminator.
    EXPECT_EQ(RawValue("Framerate"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"42") + L'\0'));
    EXPECT_EQ(RawValue("BackgroundImage").second, std::wstring(L"C:\\Bilder f\u00FCr Oma\\Strand.jpg") + L'\0');
    EXPECT_EQ(RawValue("ColorBackground").second, std::wstring(L"3368601") + L'\0');

    SettingsModel loaded;
    EXPECT_TRUE(LoadSettings(loaded, store).empty());
    for (const SettingInfo& info : kSettingsTable) EXPECT_EQ(loaded.Text(info.Id), saved.Text(info.Id)) << info.Name;
}

TEST_F(RegistryStore, EmptyTextIsOneNulAndReadingCutsAtNulAndDropsSpaces) {
    ASSERT_TRUE(WriteRegistryString(kTestKey, "BackgroundSound", ""));
    EXPECT_EQ(RawValue("BackgroundSound"), std::make_pair(DWORD{REG_SZ}, std::wstring(1, L'\0')));
    EXPECT_EQ(ReadRegistryString(kTestKey, "BackgroundSound"), "");

    const wchar_t padded[] = L"  17  \0tail";
    SetRaw("Framerate", REG_SZ, padded, sizeof padded);
    EXPECT_EQ(ReadRegistryString(kTestKey, "framerate"), "17");
    // Data without a terminator (the character after the counted data is no NUL, so the
    // system leaves the count alone) reads alike.
    const wchar_t unterminated[] = L"5X";
    SetRaw("WaveAmp", REG_SZ, unterminated, sizeof(wchar_t));
    EXPECT_EQ(RawValue("WaveAmp").second, L"5");
    EXPECT_EQ(ReadRegistryString(kTestKey, "WaveAmp"), "5");

    // A number put there by hand as a DWORD is no text; the setting keeps its value.
    const DWORD number = 30;
    SetRaw("WaveFreq", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(ReadRegistryString(kTestKey, "WaveFreq"), "");
    EXPECT_EQ(ReadRegistryString(kTestKey, "NoSuchValue"), "");
}

TEST_F(RegistryStore, ALongListIsShortenedToCompletePoints) {
    std::string list;
    while (list.size() < 20000) list += "1234,567;";
    list.pop_back();
    ASSERT_TRUE(WriteRegistryString(kTestKey, "PathPoints", list));
    const std::string stored = ReadRegistryString(kTestKey, "PathPoints");
    EXPECT_EQ(stored, FitListForStore(list));
    EXPECT_LE(stored.size(), 16298u);
    EXPECT_EQ(list[stored.size()], ';');
}

TEST_F(RegistryStore, AKeyThatCannotBeOpenedReadsEmptyAndRefusesWrites) {
    RegistrySettingsStore nowhere("HKEY_NOWHERE\\Software\\Brannick\\Lurvane\\Settings");
    EXPECT_FALSE(nowhere.Write("Framerate", "42"));
    EXPECT_EQ(nowhere.Read("Framerate"), "");
    EXPECT_FALSE(WriteRegistryString("NoRootAtAll", "x", "1"));
    EXPECT_FALSE(OpenRegistryPath("hkey_current_user\\Software\\Brannick\\LurvaneTests\\Missing", false));
    EXPECT_TRUE(OpenRegistryPath("hkey_current_user\\Software", false));

    SettingsModel model;
    model.SetNumber(Framerate, 42);
    EXPECT_FALSE(SaveSettings(model, nowhere));
    SettingsModel fresh;
    LoadSettings(fresh, nowhere);
    EXPECT_EQ(fresh.Number(Framerate), 20);
}

TEST_F(RegistryStore, APictureInAFolderWithUmlautsFindsItsProfileAfterTheRoundTrip) {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::string folder = Narrow(temp) + "Bilder f\xC3\xBCr Oma \xE6\xB3\xA2";
    const std::string picture = folder + "\\Strand.jpg";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(picture, "jpeg"));
    WriteINIValue("Wave", "Count", "11", GetProfilePath(picture));

    SettingsModel saved;
    saved.SetText(BackgroundImage, picture);
    RegistrySettingsStore store(kTestKey);
    SaveSettings(saved, store);
    SettingsModel loaded;
    LoadSettings(loaded, store);
    ASSERT_EQ(loaded.Text(BackgroundImage), picture);
    EXPECT_TRUE(CheckFileExistance(loaded.Text(BackgroundImage)));
    loaded.SetProfilePath(GetProfilePath(loaded.Text(BackgroundImage)));
    EXPECT_TRUE(LoadINI(loaded).Complete());
    EXPECT_EQ(loaded.Number(WaveCount), 11);
    // The file really lies under the wide name, not under a code-page spelling of it.
    EXPECT_NE(GetFileAttributesW(Widen(loaded.ProfilePath()).c_str()), INVALID_FILE_ATTRIBUTES);

    DeleteFileW(Widen(picture).c_str());
    DeleteFileW(Widen(loaded.ProfilePath()).c_str());
    RemoveDirectoryW(Widen(folder).c_str());
}

}  // namespace
}  // namespace lurvane::win32
