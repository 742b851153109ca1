// End-to-end: "/c" shows the settings dialog of the real saver; the keys a user presses close
// it, and the registry holds afterwards exactly what the choice says.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "resource.h"
#include "dialog_driver.h"
#include "saver_driver.h"

namespace e2e {
namespace {

DWORD StoredValueCount() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, support::SettingsSubKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return count;
}

class SettingsDialogRun : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredSettings(); }
    void TearDown() override { ClearStoredSettings(); }
};

TEST_F(SettingsDialogRun, AFreshRegistryShowsGermanAndEnterStoresTheEighteenDefaults) {
    SaverProcess saver(L"/c");
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - Einstellungen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(ControlOf(dialog, IDC_LABEL3)), L"Fra&merate festlegen");
    EXPECT_EQ(TextOf(ControlOf(dialog, IDCANCEL)), L"&Abbrechen");
    EXPECT_EQ(StoredValueCount(), 0u) << "opening stores nothing";

    SetForegroundWindow(dialog);
    PressKey(VK_RETURN);  // the default button
    ASSERT_TRUE(saver.WaitForExit(5000));
    EXPECT_EQ(saver.ExitCode(), 0u);
    EXPECT_EQ(StoredValueCount(), 18u);
    using namespace std::string_literals;
    EXPECT_EQ(StoredData(L"Language"), L"1\0"s);
    EXPECT_EQ(StoredData(L"Framerate"), L"20\0"s);
    EXPECT_EQ(StoredData(L"WaveAsc"), L"1\0"s);
    EXPECT_EQ(StoredData(L"ColorBackground"), L"-2147483633\0"s);
    EXPECT_EQ(StoredData(L"PathPoints"), L"0,0\0"s);
    EXPECT_EQ(StoredData(L"BackgroundImage"), L"\0"s) << "an empty text is one NUL";
    EXPECT_EQ(StoredData(L"SizeBackground"), L"100\0"s);
    EXPECT_EQ(StoredData(L"LoopSound"), L"1\0"s);
}

TEST_F(SettingsDialogRun, EscapeAltF4AndTheCloseBoxStoreNothing) {
    StoreSetting(L"Language", L"2");
    for (int way = 0; way < 3; ++way) {
        SaverProcess saver(L"/c");
        HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - settings");
        ASSERT_NE(dialog, nullptr) << way;
        // Switch to German first: closing without OK must not keep it.
        PostMessageW(dialog, WM_COMMAND, IDM_GERMAN, 0);
        ASSERT_NE(WaitForDialog(saver.Id(), L"Lurvane - Einstellungen"), nullptr);
        SetForegroundWindow(dialog);
        if (way == 0) {
            PressKey(VK_ESCAPE);
        } else if (way == 1) {
            INPUT keys[4] = {};
            for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
            keys[0].ki.wVk = VK_MENU;
            keys[1].ki.wVk = VK_F4;
            keys[2].ki.wVk = VK_F4;
            keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
            keys[3].ki.wVk = VK_MENU;
            keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(4, keys, sizeof(INPUT));
        } else {
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        ASSERT_TRUE(saver.WaitForExit(5000)) << way;
        EXPECT_EQ(StoredValueCount(), 1u) << way;
        EXPECT_EQ(StoredData(L"Language"), std::wstring(L"2", 2)) << way;
    }
}

// The tooltip window of the saver process, or null.
HWND ToolTipWindowOf(DWORD processId) {
    HWND found = nullptr;
    for (HWND window = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, L"tooltips_class32", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId) continue;
        EXPECT_EQ(found, nullptr) << "one tooltip window";
        found = window;
    }
    return found;
}

TEST_F(SettingsDialogRun, StoredValuesAppearAndTheMenuSwitchesCaptionsTipsAndCheckMark) {
    StoreSetting(L"Language", L"2");
    StoreSetting(L"Framerate", L"70");
    StoreSetting(L"WaveCount", L"40");  // beyond the range: shown clamped
    SaverProcess saver(L"/c");
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - settings");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(ControlOf(dialog, IDC_LABELFRAMERATE)), L"70");
    EXPECT_EQ(SendMessageW(ControlOf(dialog, IDC_HSCROLLFRAMERATE), SBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(SendMessageW(ControlOf(dialog, IDC_HSCROLLWAVECOUNT), SBM_GETPOS, 0, 0), 32);
    EXPECT_EQ(TextOf(ControlOf(dialog, IDC_LABEL3)), L"Fra&merate");
    HWND tips = ToolTipWindowOf(saver.Id());
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 22);

    for (int item : {IDM_ITALIAN, IDM_GERMAN, IDM_ENGLISH}) {
        PostMessageW(dialog, WM_COMMAND, item, 0);
        const wchar_t* title = item == IDM_ITALIAN ? L"Lurvane - impostazioni"
                               : item == IDM_GERMAN ? L"Lurvane - Einstellungen"
                                                    : L"Lurvane - settings";
        ASSERT_NE(WaitForDialog(saver.Id(), title), nullptr) << item;
        EXPECT_EQ(ToolTipWindowOf(saver.Id()), tips);
        EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), item == IDM_ITALIAN ? 12 : 22) << item;
    }
    // The check mark went along: OK stores the language the menu shows.
    PostMessageW(dialog, WM_COMMAND, IDM_ITALIAN, 0);
    ASSERT_NE(WaitForDialog(saver.Id(), L"Lurvane - impostazioni"), nullptr);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(saver.WaitForExit(5000));
    EXPECT_EQ(StoredData(L"Language"), std::wstring(L"3", 2));
    EXPECT_EQ(StoredData(L"Framerate"), std::wstring(L"70", 3));
    EXPECT_EQ(StoredData(L"WaveCount"), std::wstring(L"32", 3));
}

TEST_F(SettingsDialogRun, AnOwnerGivenAfterTheColonOwnsTheDialogAndIsDisabledMeanwhile) {
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    SaverProcess saver(L"/c:" + std::to_wstring(reinterpret_cast<uintptr_t>(host)));
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - Einstellungen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
    EXPECT_FALSE(IsWindowEnabled(host));
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    for (ULONGLONG end = GetTickCount64() + 5000; saver.Running() && GetTickCount64() < end; Sleep(20))
        PumpMessages();
    ASSERT_FALSE(saver.Running());
    EXPECT_TRUE(IsWindowEnabled(host));
    DestroyWindow(host);
}

class HighDpiDialog : public SettingsDialogRun {
protected:
    void SetUp() override {
        SettingsDialogRun::SetUp();
        ASSERT_TRUE(scaling_.Set());
    }
    support::DisplayScaling scaling_{192};
};

TEST_F(HighDpiDialog, ThePreviewKeepsItsTwipsAndTheLayoutAndFontsGrowWithTheDpi) {
    SaverProcess saver(L"/c");
    HWND dialog = WaitForDialog(saver.Id(), L"Lurvane - Einstellungen");
    ASSERT_NE(dialog, nullptr);
    RECT preview{}, plot{}, button{};
    GetClientRect(ControlOf(dialog, IDC_PICTURESCROLLABLE), &preview);
    GetClientRect(ControlOf(dialog, IDC_PICPREVIEW), &plot);
    GetClientRect(ControlOf(dialog, IDOK), &button);
    // 4995 x 3735 twips at 192 DPI.
    EXPECT_EQ(preview.right, 666);
    EXPECT_EQ(preview.bottom, 498);
    // The template's other places grow with the font: an OK button of 54 x 14 dialog units is
    // about 80 x 21 pixels at 96 DPI.
    EXPECT_GT(button.bottom, 36);
    EXPECT_GT(plot.right, 400);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(saver.WaitForExit(5000));
}

}  // namespace
}  // namespace e2e
