#include "about/win32/about_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "about/maker_links.h"
#include "about/update_address.h"
#include "about/win32/about_controls.h"
#include "about/win32/registry_value.h"
#include "settings/memory_settings_store.h"
#include "support/win32/control_text.h"
#include "support/win32/screen_shot.h"
#include "util/memory_file_system.h"
#include "util/version.h"
#include "util/win32/system_clock.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

namespace id = about_control;

constexpr DWORD kPatienceMs = 5000;

// Polls `found` on the helper thread until it gives a window or the patience runs out.
HWND WaitForWindow(const std::function<HWND()>& found, DWORD patienceMs = kPatienceMs) {
    for (DWORD waited = 0; waited < patienceMs; waited += 20) {
        if (HWND window = found()) return window;
        Sleep(20);
    }
    return nullptr;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD patienceMs = kPatienceMs) {
    return WaitForWindow([&] { return condition() ? GetDesktopWindow() : nullptr; }, patienceMs) != nullptr;
}

// A visible dialog of `thread` with this caption and owner (any owner when null).
HWND FindDialog(DWORD thread, const std::wstring& caption, HWND owner = nullptr) {
    struct Search {
        const std::wstring& Caption;
        HWND Owner;
        HWND Found = nullptr;
    } search{caption, owner};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (std::wstring_view(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            if (s.Owner != nullptr && GetWindow(window, GW_OWNER) != s.Owner) return TRUE;
            wchar_t text[128] = {};
            GetWindowTextW(window, text, 128);
            if (s.Caption != text) return TRUE;
            s.Found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A click as the mouse makes it, at a point inside the control.
void Click(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM point = MAKELPARAM(4, client.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(control, WM_LBUTTONUP, 0, point);
}

// Texts the helper thread finds cut off by their control, and controls that overlap.
std::vector<std::wstring> LayoutFaults(HWND box) {
    std::vector<std::wstring> faults;
    RECT boxClient{};
    GetClientRect(box, &boxClient);
    std::vector<std::pair<HWND, RECT>> placed;
    for (HWND control = GetWindow(box, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        const int controlId = GetDlgCtrlID(control);
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&rect), 2);
        RECT inside{};
        if (!IntersectRect(&inside, &rect, &boxClient) || !EqualRect(&inside, &rect))
            faults.push_back(L"outside the box: " + std::to_wstring(controlId));
        if (controlId == id::kLinkFrame || controlId == id::kIcon) continue;
        for (const auto& [other, otherRect] : placed)
            if (IntersectRect(&inside, &rect, &otherRect))
                faults.push_back(L"overlap: " + std::to_wstring(controlId) + L" and " + std::to_wstring(GetDlgCtrlID(other)));
        placed.emplace_back(control, rect);

        if (!support::TextFitsControl(control)) faults.push_back(L"cut off: " + TextOf(control));
    }
    return faults;
}

struct OwnerWindow {
    HWND Window = CreateWindowExW(0, L"Static", L"About box owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 120, 600, 450,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    OwnerWindow() = default;
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() { DestroyWindow(Window); }
};

// Records what the box hands to the outside: opened addresses and started programs, each with
// the window that asked. Called on the box's thread, read on both.
struct Outside {
    std::mutex Lock;
    std::vector<std::pair<HWND, std::string>> Opened;
    std::vector<std::string> Started;
    std::map<std::string, std::string> MachineValues;  // "key|name" -> text
    bool StartSucceeds = false;

    AboutBoxActions Actions() {
        AboutBoxActions actions;
        actions.OpenLink = [this](HWND owner, const std::string& address) {
            const std::lock_guard hold(Lock);
            Opened.emplace_back(owner, address);
        };
        actions.ReadMachineValue = [this](std::string_view key, std::string_view name) -> std::optional<std::string> {
            const auto found = MachineValues.find(std::string(key) + "|" + std::string(name));
            if (found == MachineValues.end()) return std::nullopt;
            return found->second;
        };
        actions.StartProgram = [this](HWND, const std::string& path) {
            const std::lock_guard hold(Lock);
            Started.push_back(path);
            return StartSucceeds;
        };
        return actions;
    }
    std::size_t OpenedCount() {
        const std::lock_guard hold(Lock);
        return Opened.size();
    }
    std::size_t StartedCount() {
        const std::lock_guard hold(Lock);
        return Started.size();
    }
};

class AboutBox : public ::testing::Test {
protected:
    // Shows the box owned by a test window and runs `script` on a helper thread meanwhile.
    // Whatever the script leaves open is closed afterwards, so a failing step cannot hang the run.
    void ShowWith(const std::function<void(HWND owner, DWORD thread)>& script) {
        OwnerWindow owner;
        ASSERT_NE(owner.Window, nullptr);
        const DWORD thread = GetCurrentThreadId();
        std::atomic<bool> closed{false};
        std::thread helper([&] {
            script(owner.Window, thread);
            while (!closed) {
                for (const wchar_t* caption : {L"Lurvane", L"Lurvane - Info"})
                    if (HWND left = FindDialog(thread, caption)) PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
                Sleep(50);
            }
        });
        ShowAboutBox(owner.Window, context_, outside_.Actions());
        closed = true;
        helper.join();
        ownerEnabledAfter_ = IsWindowEnabled(owner.Window) != FALSE;
    }

    MemorySettingsStore settings_;
    MemoryFileSystem files_;
    Language texts_;
    SystemClock clock_;
    GdiPlus pictures_;
    const ProgramContext context_{settings_, files_, texts_, Trace(), clock_, pictures_};
    Outside outside_;
    bool ownerEnabledAfter_ = false;
};

TEST_F(AboutBox, ShowsItsTextsInEachLanguageOpensItsLinksAndSaysWhenSystemInformationIsMissing) {
    const std::wstring englishDescription = L"A screen saver not only for the hot days";
    std::map<int32_t, std::wstring> descriptions;
    for (const int32_t language : {kGerman, kEnglish, kItalian}) {
        SCOPED_TRACE(language);
        texts_.SetLanguage(language);
        outside_.Opened.clear();

        HWND box = nullptr, boxOwner = nullptr, testOwner = nullptr;
        POINT centreOffset{1000, 1000};
        bool boxOnScreen = false;
        bool ownerDisabled = false, boxOpenAfterMessage = false, boxClosedByOk = false;
        std::map<int, std::wstring> shown;
        std::vector<std::wstring> layoutFaults;
        std::wstring messageText, messageCaption;
        ShowWith([&](HWND owner, DWORD thread) {
            box = WaitForWindow([&] { return FindDialog(thread, L"Lurvane - Info"); });
            if (box == nullptr) return;
            boxOwner = GetWindow(box, GW_OWNER);
            testOwner = owner;
            RECT ownerRect{}, boxRect{};
            GetWindowRect(owner, &ownerRect);
            GetWindowRect(box, &boxRect);
            centreOffset = {(boxRect.left + boxRect.right - ownerRect.left - ownerRect.right) / 2,
                            (boxRect.top + boxRect.bottom - ownerRect.top - ownerRect.bottom) / 2};
            boxOnScreen = boxRect.left >= 0 && boxRect.top >= 0 && boxRect.right <= GetSystemMetrics(SM_CXSCREEN) &&
                          boxRect.bottom <= GetSystemMetrics(SM_CYSCREEN);
            ownerDisabled = !IsWindowEnabled(owner);
            for (HWND control = GetWindow(box, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
                shown[GetDlgCtrlID(control)] = TextOf(control);
            layoutFaults = LayoutFaults(box);

            for (const WORD link : {id::kWebLink, id::kMailLink, id::kDonationLink, id::kGraphicsLink}) {
                const std::size_t before = outside_.OpenedCount();
                Click(GetDlgItem(box, link));
                if (!WaitUntil([&] { return outside_.OpenedCount() > before; })) return;
            }

            PostMessageW(GetDlgItem(box, id::kSystemInfo), BM_CLICK, 0, 0);
            HWND message = WaitForWindow([&] { return FindDialog(thread, L"Lurvane", box); });
            if (message == nullptr) return;
            messageText = TextOf(GetDlgItem(message, 0xFFFF));
            messageCaption = TextOf(message);
            PostMessageW(GetDlgItem(message, IDOK), BM_CLICK, 0, 0);
            WaitUntil([&] { return !IsWindow(message); });
            boxOpenAfterMessage = IsWindowVisible(box) != FALSE;

            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            boxClosedByOk = WaitUntil([&] { return !IsWindow(box); });
        });

        ASSERT_NE(box, nullptr) << "no about box appeared";
        EXPECT_TRUE(ownerDisabled) << "the box is modal";
        EXPECT_TRUE(ownerEnabledAfter_);
        EXPECT_TRUE(boxClosedByOk);
        EXPECT_EQ(boxOwner, testOwner);
        EXPECT_TRUE(boxOnScreen);
        EXPECT_LE(std::abs(centreOffset.x), 1) << "centred over its owner";
        EXPECT_LE(std::abs(centreOffset.y), 1);

        const auto text = [&](TextId number) { return Widen(texts_.GetLangString(number)); };
        EXPECT_EQ(shown[id::kTitle], L"Lurvane");
        EXPECT_EQ(shown[id::kVersion], L"Version " + Widen(ProgramVersion().Text()));
        EXPECT_EQ(shown[id::kDescription], text(TextId::AboutDescription));
        EXPECT_EQ(shown[id::kFreewareNotice], text(TextId::FreewareNotice));
        EXPECT_EQ(shown[id::kDisclaimer], text(TextId::Disclaimer));
        EXPECT_EQ(shown[id::kTranslations], text(TextId::Translations));
        EXPECT_EQ(shown[id::kItalianTranslation], text(TextId::ItalianTranslation));
        for (const int fixed : {id::kInternetCaption, id::kMailCaption, id::kDonationCaption, id::kTranslatorName,
                                id::kItalianTranslatorName, id::kSystemInfo, id::kOk})
            EXPECT_FALSE(shown[fixed].empty()) << fixed;
        EXPECT_EQ(shown[id::kInternetCaption], L"Internet:");
        EXPECT_EQ(shown[id::kSystemInfo], L"&System Info...");
        EXPECT_TRUE(shown[id::kWebLink].find(Widen(kMakerWebPage)) != std::wstring::npos) << shown[id::kWebLink];
        for (const std::wstring& fault : layoutFaults) ADD_FAILURE() << Narrow(fault);
        descriptions[language] = shown[id::kDescription];

        const std::lock_guard hold(outside_.Lock);
        ASSERT_EQ(outside_.Opened.size(), 4u);
        EXPECT_EQ(outside_.Opened[0].second, kMakerWebPage);
        EXPECT_EQ(outside_.Opened[1].second, "mailto:" + std::string(kMakerMailAddress) + "?subject=Lurvane");
        EXPECT_EQ(outside_.Opened[2].second, kDonationPage);
        EXPECT_EQ(outside_.Opened[3].second, kGraphicsSourcePage);
        for (const auto& [linkOwner, address] : outside_.Opened) EXPECT_EQ(linkOwner, box) << address;

        EXPECT_EQ(messageCaption, L"Lurvane");
        EXPECT_EQ(messageText, text(TextId::SystemInformationUnavailable));
        EXPECT_FALSE(messageText.empty());
        EXPECT_TRUE(boxOpenAfterMessage) << "the message leaves the box open";
        EXPECT_TRUE(outside_.Started.empty());
    }
    EXPECT_EQ(descriptions[kEnglish], englishDescription);
    EXPECT_NE(descriptions[kGerman], descriptions[kEnglish]);
    EXPECT_NE(descriptions[kItalian], descriptions[kEnglish]);
}

TEST_F(AboutBox, SystemInformationTriesEachRegisteredProgramBeforeSayingItIsMissing) {
    texts_.SetLanguage(kEnglish);
    outside_.MachineValues[std::string(kSystemInformationKey) + "|PATH"] = "C:\\Gone\\msinfo32.exe";
    outside_.MachineValues[std::string(kSharedToolsLocationKey) + "|MSINFO"] = "C:\\Shared Tools\\MSInfo";
    files_.AddFile("C:\\Shared Tools\\MSInfo\\msinfo32.exe");

    // Neither program starts: both are tried in order, then the message comes.
    std::wstring messageText;
    ShowWith([&](HWND, DWORD thread) {
        HWND box = WaitForWindow([&] { return FindDialog(thread, L"Lurvane - Info"); });
        if (box == nullptr) return;
        PostMessageW(GetDlgItem(box, id::kSystemInfo), BM_CLICK, 0, 0);
        HWND message = WaitForWindow([&] { return FindDialog(thread, L"Lurvane", box); });
        if (message == nullptr) return;
        messageText = TextOf(GetDlgItem(message, 0xFFFF));
        PostMessageW(GetDlgItem(message, IDOK), BM_CLICK, 0, 0);
        WaitUntil([&] { return !IsWindow(message); });
        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitUntil([&] { return !IsWindow(box); });
    });
    EXPECT_EQ(outside_.Started,
              (std::vector<std::string>{"C:\\Gone\\msinfo32.exe", "C:\\Shared Tools\\MSInfo\\MSINFO32.EXE"}));
    EXPECT_EQ(messageText, L"System Information Is Unavailable At This Time.");

    // The first program starts: nothing else is tried and no message appears.
    outside_.Started.clear();
    outside_.StartSucceeds = true;
    bool messageAppeared = true;
    ShowWith([&](HWND, DWORD thread) {
        HWND box = WaitForWindow([&] { return FindDialog(thread, L"Lurvane - Info"); });
        if (box == nullptr) return;
        PostMessageW(GetDlgItem(box, id::kSystemInfo), BM_CLICK, 0, 0);
        WaitUntil([&] { return outside_.StartedCount() > 0; });
        messageAppeared = WaitForWindow([&] { return FindDialog(thread, L"Lurvane", box); }, 300) != nullptr;
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !IsWindow(box); });
    });
    EXPECT_EQ(outside_.Started, std::vector<std::string>{"C:\\Gone\\msinfo32.exe"});
    EXPECT_FALSE(messageAppeared);
}

// Rows of a link's picture that are mostly not the box's face: only an underline fills a row.
int UnderlineRows(const support::ScreenShot& shot) {
    const uint32_t face = shot.At(0, 0);
    int rows = 0;
    for (int y = 0; y < shot.Height; ++y) {
        int marked = 0;
        for (int x = 0; x < shot.Width; ++x) marked += shot.At(x, y) != face ? 1 : 0;
        rows += marked * 10 >= shot.Width * 6 ? 1 : 0;
    }
    return rows;
}

TEST_F(AboutBox, ALinkIsUnderlinedUnderTheMouseAndOpensFromTheKeyboard) {
    int rowsBefore = -1, rowsOver = -1, rowsAfter = -1;
    bool handOver = false, focusReached = false;
    ShowWith([&](HWND, DWORD thread) {
        HWND box = WaitForWindow([&] { return FindDialog(thread, L"Lurvane - Info"); });
        if (box == nullptr) return;
        RECT link{}, elsewhere{};
        GetWindowRect(GetDlgItem(box, id::kWebLink), &link);
        GetWindowRect(GetDlgItem(box, id::kLinkFrame), &elsewhere);
        // Pointer moves reach the box through the display server, which may drop a warp to
        // where the pointer already is: nudge it by a pixel until the box shows the change.
        const auto pointAt = [&](POINT spot, bool underlined) {
            int rows = -1;
            for (int nudge = 0; nudge < 60; ++nudge) {
                SetCursorPos(spot.x + nudge % 2, spot.y);
                Sleep(50);
                rows = UnderlineRows(support::CaptureScreen(link));
                if ((rows > 0) == underlined) break;
            }
            return rows;
        };
        const POINT away{elsewhere.right - 10, elsewhere.bottom - 10};
        rowsBefore = pointAt(away, false);
        rowsOver = pointAt({(link.left + link.right) / 2, (link.top + link.bottom) / 2}, true);
        handOver = WaitUntil([] {
            CURSORINFO cursor{};
            cursor.cbSize = sizeof cursor;
            return GetCursorInfo(&cursor) && cursor.hCursor == LoadCursorW(nullptr, IDC_HAND);
        }, 2000);
        rowsAfter = pointAt(away, false);

        HWND donation = GetDlgItem(box, id::kDonationLink);
        PostMessageW(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(donation), TRUE);
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        focusReached = WaitUntil([&] { return GetGUIThreadInfo(thread, &focus) && focus.hwndFocus == donation; });
        PostMessageW(donation, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(donation, WM_KEYUP, VK_SPACE, 0xC0000001);
        WaitUntil([&] { return outside_.OpenedCount() > 0; });
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(rowsBefore, 0);
    EXPECT_GE(rowsOver, 1) << "the link under the mouse is underlined";
    EXPECT_TRUE(handOver);
    EXPECT_EQ(rowsAfter, 0) << "the underline goes when the mouse leaves the link";
    EXPECT_TRUE(focusReached);
    const std::lock_guard hold(outside_.Lock);
    ASSERT_EQ(outside_.Opened.size(), 1u) << "the space bar opens the focused link";
    EXPECT_EQ(outside_.Opened[0].second, kDonationPage);
}

TEST_F(AboutBox, TheUpdatePageCarriesTheCurrentLanguageAndVersionAndIsOwnedByTheCaller) {
    OwnerWindow owner;
    for (const int32_t language : {kGerman, kEnglish, kItalian}) {
        texts_.SetLanguage(language);
        std::vector<std::pair<HWND, std::string>> opened;
        OpenUpdatePage(context_, owner.Window, [&](HWND window, const std::string& address) { opened.emplace_back(window, address); });
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].first, owner.Window);
        const std::string suffix = language == kGerman ? "_de" : "_en";
        EXPECT_EQ(opened[0].second, std::string(kUpdatePageBase) + suffix + ".php?product=Lurvane&version=" + ProgramVersion().Text());
    }
}

// A key of its own below the current user, so the test never depends on what the machine has.
class KeyValue : public ::testing::Test {
protected:
    static constexpr const wchar_t* kKey = L"Software\\Brannick\\LurvaneAboutTests";
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
        ASSERT_NE(key_, nullptr);
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }
    void Set(const wchar_t* name, DWORD type, const void* data, std::size_t size) {
        RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    }
    void SetText(const wchar_t* name, DWORD type, const std::wstring& text, bool terminated = true) {
        Set(name, type, text.c_str(), (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    }
    static std::optional<std::string> Get(std::string_view name) {
        return GetKeyValue(HKEY_CURRENT_USER, Narrow(kKey), name);
    }
    HKEY key_ = nullptr;
};

TEST_F(KeyValue, TextsNumbersAndExpandedPathsReadWholeWhileOtherValuesReadAsMissing) {
    SetText(L"PATH", REG_SZ, L"C:\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\MSInfo\\msinfo32.exe");
    EXPECT_EQ(Get("path"), "C:\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\MSInfo\\msinfo32.exe");

    SetText(L"Unterminated", REG_SZ, L"C:\\Werkzeuge\\Ärzte ß 東京", false);
    EXPECT_EQ(Get("Unterminated"), "C:\\Werkzeuge\\Ärzte ß 東京");
    SetText(L"Embedded", REG_SZ, std::wstring(L"C:\\a.exe\0junk", 13));
    EXPECT_EQ(Get("Embedded"), "C:\\a.exe");
    const char oddBytes[] = {'C', 0, ':', 0, 'x'};
    Set(L"Odd", REG_SZ, oddBytes, sizeof oddBytes);
    EXPECT_EQ(Get("Odd"), "C:");

    const std::wstring longPath = L"C:\\" + std::wstring(5000, L'x') + L"\\msinfo32.exe";
    SetText(L"Long", REG_SZ, longPath);
    EXPECT_EQ(Get("Long"), Narrow(longPath)) << "a value beyond any fixed buffer is read whole";

    SetEnvironmentVariableW(L"LURVANE_ABOUT_TEST", L"D:\\Geräte");
    SetText(L"Expand", REG_EXPAND_SZ, L"%LURVANE_ABOUT_TEST%\\MSInfo");
    EXPECT_EQ(Get("Expand"), "D:\\Geräte\\MSInfo");
    SetEnvironmentVariableW(L"LURVANE_ABOUT_TEST", nullptr);

    const DWORD number = 0xFFFFFFFE;
    Set(L"Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(Get("Number"), "4294967294");
    const DWORD small = 0x0105;
    Set(L"Small", REG_DWORD, &small, sizeof small);
    EXPECT_EQ(Get("Small"), "261");

    const BYTE binary[] = {'C', 0, ':', 0};
    Set(L"Binary", REG_BINARY, binary, sizeof binary);
    EXPECT_EQ(Get("Binary"), std::nullopt);
    const WORD shortNumber = 7;
    Set(L"ShortNumber", REG_DWORD, &shortNumber, sizeof shortNumber);
    EXPECT_EQ(Get("ShortNumber"), std::nullopt) << "a number of the wrong size is unreadable";
    EXPECT_EQ(Get("Missing"), std::nullopt);
    EXPECT_EQ(GetKeyValue(HKEY_CURRENT_USER, "Software\\Brannick\\NoSuchKey", "PATH"), std::nullopt);
}

}  // namespace
}  // namespace lurvane::win32
