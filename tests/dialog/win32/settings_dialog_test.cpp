// The settings dialog in this process, over an in-memory store: what its controls show, what
// OK and Cancel store, and how the language, the number boxes, the tooltips, the adjuster and
// the live plot behave.
#include "dialog/win32/settings_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <commdlg.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "resource.h"
#include "settings/ini_file.h"
#include "settings/memory_settings_store.h"
#include "settings/profile.h"
#include "support/temp_folder.h"
#include "support/win32/control_text.h"
#include "support/win32/message_pump.h"
#include "support/win32/screen_shot.h"
#include "util/common_dialog_rules.h"
#include "util/memory_file_system.h"
#include "util/win32/system_clock.h"
#include "util/win32/text_convert.h"
#include "waves/wave_table.h"

namespace lurvane::win32 {
namespace {

using support::PumpMessages;
using support::PumpUntil;
using support::TextOf;

// Answers the dialogs that `owner` opens next, one answer each: a file name for a file
// dialog (confirmed with OK), or a button for a message box.
class DialogAnswers {
public:
    struct Answer {
        std::wstring FileName;
        int Button = IDOK;
        std::wstring* Message = nullptr;  // receives a message box's text
    };
    DialogAnswers(HWND owner, std::vector<Answer> answers)
        : thread_([owner, answers = std::move(answers)] {
              HWND previous = nullptr;
              for (const Answer& answer : answers) {
                  HWND dialog = nullptr;
                  for (ULONGLONG end = GetTickCount64() + 10000; dialog == nullptr && GetTickCount64() < end;
                       Sleep(20))
                      dialog = OwnedDialog(owner, previous);
                  if (dialog == nullptr) return;
                  previous = dialog;
                  Sleep(200);  // let it finish showing
                  if (answer.Message != nullptr) {
                      wchar_t text[512] = {};
                      GetDlgItemTextW(dialog, 0xFFFF, text, 512);  // a message box's text
                      *answer.Message = text;
                  }
                  if (!answer.FileName.empty()) {
                      HWND box = FileNameBox(dialog);
                      SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.FileName.c_str()));
                  }
                  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.Button, BN_CLICKED), 0);
              }
          }) {}
    ~DialogAnswers() { thread_.join(); }

private:
    static HWND OwnedDialog(HWND owner, HWND previous) {
        struct Search {
            HWND Owner, Previous, Found;
        } search{owner, previous, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* wanted = reinterpret_cast<Search*>(data);
                wchar_t name[16] = {};
                GetClassNameW(window, name, 16);
                if (window == wanted->Previous || GetWindow(window, GW_OWNER) != wanted->Owner ||
                    std::wstring(name) != L"#32770" || !IsWindowVisible(window))
                    return TRUE;
                wanted->Found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.Found;
    }
    // The file name box: an edit of its own, or the edit inside the name combo box.
    static HWND FileNameBox(HWND dialog) {
        if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
        HWND combo = GetDlgItem(dialog, 0x47c);
        HWND inner = combo != nullptr ? FindWindowExW(combo, nullptr, L"ComboBox", nullptr) : nullptr;
        HWND edit = FindWindowExW(inner != nullptr ? inner : combo, nullptr, L"Edit", nullptr);
        return edit != nullptr ? edit : combo;
    }
    std::thread thread_;
};

class SettingsDialogTest : public ::testing::Test {
protected:
    // Opens the dialog over the store as it is now.
    SettingsDialog& Open() {
        dialog_.emplace(context_, DialogLinks{});
        EXPECT_TRUE(dialog_->Create(nullptr));
        PumpMessages();
        return *dialog_;
    }
    HWND Control(int id) const { return dialog_->Control(id); }
    void Command(int id) {
        SendMessageW(dialog_->Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        PumpMessages();
    }
    void Click(int id) {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        PumpMessages();
    }
    void Type(int id, const std::string& text) {
        for (char c : text) SendMessageW(Control(id), WM_CHAR, static_cast<WPARAM>(c), 0);
        PumpMessages();
    }
    int ScrollValue(int id) const { return GetScrollPos(Control(id), SB_CTL); }
    void Scroll(int id, int code) {
        SendMessageW(GetParent(Control(id)), WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(Control(id)));
    }
    std::string Stored(const char* name) const { return store_.Data(name).value_or("<missing>"); }

    MemorySettingsStore store_;
    MemoryFileSystem files_;
    Language texts_;
    SystemClock clock_;
    GdiPlus pictures_;
    ProgramContext context_{store_, files_, texts_, Trace(), clock_, pictures_};
    std::optional<SettingsDialog> dialog_;
};

TEST_F(SettingsDialogTest, AFreshStoreShowsGermanAndOkStoresTheEighteenDefaultsInOrder) {
    Open();
    EXPECT_EQ(TextOf(dialog_->Window()), "Lurvane - Einstellungen");
    EXPECT_EQ(TextOf(Control(IDOK)), "&OK");
    EXPECT_EQ(TextOf(Control(IDC_LABEL3)), "Fra&merate festlegen");
    EXPECT_EQ(ScrollValue(IDC_HSCROLLFRAMERATE), 20);
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVEFREQ), 30);
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVECOUNT), 6);
    EXPECT_EQ(TextOf(Control(IDC_LABELFRAMERATE)), "20");
    EXPECT_EQ(TextOf(Control(IDC_TXRESTARTSEC)), "120");
    EXPECT_EQ(TextOf(Control(IDC_TXSIZE)), "100");
    EXPECT_EQ(SendMessageW(Control(IDC_OPTMAXI), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_TXRESTARTSEC))) << "no random pictures, no restart time";
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_TXSIZE))) << "a stretched picture has no size";
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_CMDBTNZOOMDN)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_CMDBTNPLAY))) << "no music file chosen";
    EXPECT_EQ(dialog_->PreviewInterval(), 50u);
    ASSERT_TRUE(store_.WriteLog().empty());

    Command(IDOK);
    EXPECT_TRUE(dialog_->Finished());
    EXPECT_TRUE(dialog_->Saved());
    std::vector<std::string> names;
    for (const SettingInfo& info : kSettingsTable) names.emplace_back(info.Name);
    EXPECT_EQ(store_.WriteLog(), names);
    EXPECT_EQ(Stored("Language"), "1");
    EXPECT_EQ(Stored("ColorBackground"), "-2147483633");
    EXPECT_EQ(Stored("PathPoints"), "0,0");
    EXPECT_EQ(Stored("BackgroundImage"), std::string(1, '\0'));
    EXPECT_EQ(Stored("UseSystemTimer"), "1");
    EXPECT_EQ(Stored("RestartSec"), "120");
}

TEST_F(SettingsDialogTest, TheTabKeyWalksTheFirstPageInTheOrderOfItsLayout) {
    Open();
    ShowWindow(dialog_->Window(), SW_SHOW);
    std::vector<int> order;
    HWND first = GetNextDlgTabItem(dialog_->Window(), nullptr, FALSE);
    for (HWND at = first; at != nullptr && order.size() < 40;) {
        order.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog_->Window(), at, FALSE);
        if (at == first) break;
    }
    // Left column top to bottom, then the right one, then the buttons; the preview is one stop
    // for all its markers, its scroll bars and the zoom-out button are disabled at zoom 1 and
    // the grab tool stands for its group.
    const std::vector<int> expected{IDC_SSTAB1,          IDC_PICTURESCROLLABLE,
                                    IDC_CMDBTNZOOMUP,    IDC_CHKHIDEPATHPOINTS, IDC_CMDCHOOSEBACKGROUNDIMAGE,
                                    IDC_OPTGRAB,         IDC_CMDDELETEPATH,    IDC_CMDLOADPATH,
                                    IDC_CMDSAVEPATH,     IDC_HSCROLLFRAMERATE, IDC_HSCROLLWAVEFREQ,
                                    IDC_HSCROLLWAVECOUNT, IDC_HSCROLLWAVEAMP,  IDC_HSCROLLWAVEDIRECTION,
                                    IDC_CHKSHOWWAVES,    IDC_PICADJUST,       IDOK,                 IDCANCEL,
                                    IDC_COMMAND1};
    EXPECT_EQ(order, expected);
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxStoreNothingAndBringTheStoredLanguageBack) {
    store_.Write("Language", "2");
    for (UINT closing : {0u, 1u}) {
        Open();
        EXPECT_EQ(TextOf(dialog_->Window()), "Lurvane - settings");
        Command(IDM_ITALIAN);
        EXPECT_EQ(texts_.GetLanguage(), kItalian);
        Click(IDC_CHKSHOWFPS);
        if (closing == 0) Command(IDCANCEL);
        else SendMessageW(dialog_->Window(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(dialog_->Finished());
        EXPECT_FALSE(dialog_->Saved());
        EXPECT_EQ(texts_.GetLanguage(), kEnglish) << "the stored language is back";
        EXPECT_EQ(store_.WriteLog().size(), 1u) << "only the test's own write";
    }
}

TEST_F(SettingsDialogTest, StoredValuesAppearAndTheMenuSwitchesEveryCaptionAndMovesItsCheckMark) {
    store_.Write("Language", "2");
    store_.Write("Framerate", "16");
    store_.Write("BackgroundImage", "C:\\Bilder\\S\xC3\xBC" "d.jpg");
    store_.Write("MaximizeBackground", "0");
    store_.Write("RandomizeBackground", "1");
    store_.Write("PathPoints", "100,200;3000,200;3000,3000");
    Open();
    EXPECT_EQ(ScrollValue(IDC_HSCROLLFRAMERATE), 16);
    EXPECT_EQ(TextOf(Control(IDC_LABELFRAMERATE)), "16");
    EXPECT_EQ(dialog_->PreviewInterval(), 62u);
    EXPECT_EQ(TextOf(Control(IDC_TXBACKGROUNDIMAGE)), "C:\\Bilder\\S\xC3\xBC" "d.jpg");
    EXPECT_EQ(dialog_->Model().Path().Count(), 3u);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_TXRESTARTSEC)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_TXSIZE)));
    EXPECT_EQ(SendMessageW(Control(IDC_OPTPROP), BM_GETCHECK, 0, 0), BST_CHECKED);

    HMENU menu = GetMenu(dialog_->Window());
    auto checked = [menu](int item) { return (GetMenuState(menu, item, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    EXPECT_TRUE(checked(IDM_ENGLISH));
    EXPECT_EQ(TextOf(Control(IDC_FRAME10)), "Background music:");
    EXPECT_EQ(TextOf(Control(IDC_LABEL23)), "Soundfile:");

    Command(IDM_GERMAN);
    EXPECT_TRUE(checked(IDM_GERMAN));
    EXPECT_FALSE(checked(IDM_ENGLISH));
    EXPECT_EQ(TextOf(dialog_->Window()), "Lurvane - Einstellungen");
    EXPECT_EQ(TextOf(Control(IDC_FRAME10)), "Hintergrundmusik:");
    EXPECT_EQ(TextOf(Control(IDC_LABEL23)), "Musikdatei:");
    TCITEMW item{};
    wchar_t caption[64] = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 64;
    TabCtrl_GetItem(Control(IDC_SSTAB1), 1, &item);
    EXPECT_EQ(Narrow(caption), texts_.GetLangString(TextId::AdditionalSettingsTab));

    // The language saved is the one the menu shows.
    Command(IDM_ITALIAN);
    Command(IDOK);
    EXPECT_EQ(Stored("Language"), "3");
    EXPECT_EQ(Stored("PathPoints"), "100,200;3000,200;3000,3000");
    EXPECT_EQ(Stored("BackgroundImage"), "C:\\Bilder\\S\xC3\xBC" "d.jpg");
}

TEST_F(SettingsDialogTest, EachTipControlHasOneToolWithItsLinesAfterEveryLanguageSwitch) {
    Open();
    const ToolTip& tips = dialog_->Tips();
    ASSERT_NE(tips.Window(), nullptr);
    EXPECT_EQ(tips.ToolCount(), 22);
    for (int language : {IDM_ENGLISH, IDM_ITALIAN, IDM_GERMAN, IDM_ENGLISH}) {
        Command(language);
        // In Italian three controls have no text and seven only line breaks: they get no tip.
        EXPECT_EQ(tips.ToolCount(), language == IDM_ITALIAN ? 12 : 22) << language;
    }
    EXPECT_EQ(tips.Text(Control(IDC_HSCROLLFRAMERATE)),
              "With this setting is defined how many pictures\r\nare generated per second.\r\n"
              "Already a framerate of 20 fps means that the animation is fluently .");
    // What the tooltip window itself holds for a control is what we gave it.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(Control(IDC_CMDLOADPATH));
    tool.uId = reinterpret_cast<UINT_PTR>(Control(IDC_CMDLOADPATH));
    wchar_t text[512] = {};
    tool.lpszText = text;
    SendMessageW(tips.Window(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Narrow(text), tips.Text(Control(IDC_CMDLOADPATH)));
    EXPECT_NE(Narrow(text).find("profiles.\r\nProfiles contain"), std::string::npos);
}

TEST_F(SettingsDialogTest, NumberBoxesKeepTheCaretAtTheEndAndOkSavesThemWithinTheirLimits) {
    store_.Write("MaximizeBackground", "0");
    store_.Write("RandomizeBackground", "1");
    Open();
    SetWindowTextW(Control(IDC_TXSIZE), L"");
    Type(IDC_TXSIZE, "150");
    EXPECT_EQ(TextOf(Control(IDC_TXSIZE)), "150");
    SetWindowTextW(Control(IDC_TXSIZE), L"12abc");
    EXPECT_EQ(TextOf(Control(IDC_TXSIZE)), "12");
    DWORD start = 0, end = 0;
    SendMessageW(Control(IDC_TXSIZE), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 2u);
    SetWindowTextW(Control(IDC_TXRESTARTSEC), L"");
    Type(IDC_TXRESTARTSEC, "99999999999999");
    EXPECT_EQ(TextOf(Control(IDC_TXRESTARTSEC)), "2147483647");
    Command(IDOK);
    EXPECT_EQ(Stored("SizeBackground"), "50");
    EXPECT_EQ(Stored("RestartSec"), "999");
}

TEST_F(SettingsDialogTest, ThePageTwoBoxesFollowTheirChoices) {
    Open();
    Click(IDC_CHKRANDOMIZEBACKGROUND);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_TXRESTARTSEC)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_LABEL19)));
    Click(IDC_OPTPROP);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_TXSIZE)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_LABEL21)));
    Command(IDM_ITALIAN);  // a language switch changes no state
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_TXRESTARTSEC)));
    Click(IDC_OPTMAXI);
    Click(IDC_CHKRANDOMIZEBACKGROUND);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_TXSIZE)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_TXRESTARTSEC)));
    SetWindowTextW(Control(IDC_TXSOUNDFILE), L"C:\\a.mp3");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_CMDBTNPLAY)));
    Command(IDOK);
    EXPECT_EQ(Stored("RandomizeBackground"), "0");
    EXPECT_EQ(Stored("MaximizeBackground"), "1");
    EXPECT_EQ(Stored("BackgroundSound"), "C:\\a.mp3");
}

TEST_F(SettingsDialogTest, TheAdjusterMovesOnlyWhileDraggedAndWithTheArrowKeys) {
    store_.Write("WaveDirection", "1");
    Open();
    HWND knob = Control(IDC_PICADJUST);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(dialog_->Model().Number(SettingId::WaveAsc), 1);
    SendMessageW(knob, WM_MOUSEMOVE, 0, MAKELPARAM(60, 2));  // hovering
    EXPECT_EQ(dialog_->Model().Number(SettingId::WaveAsc), 1);
    SendMessageW(knob, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 2));
    SendMessageW(knob, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10000, 2));
    SendMessageW(knob, WM_LBUTTONUP, 0, MAKELPARAM(10000, 2));
    const int32_t dragged = dialog_->Model().Number(SettingId::WaveAsc);
    EXPECT_GE(dragged, 90) << "dragged to the right end";
    EXPECT_LE(dragged, 100);
    SendMessageW(knob, WM_MOUSEMOVE, 0, MAKELPARAM(-500, 2));  // hovering again
    EXPECT_EQ(dialog_->Model().Number(SettingId::WaveAsc), dragged);
    SendMessageW(knob, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_LT(dialog_->Model().Number(SettingId::WaveAsc), dragged);
    Command(IDOK);
    EXPECT_EQ(Stored("WaveAsc"), std::to_string(dialog_->Model().Number(SettingId::WaveAsc)));
}

// The rows of the plot that hold the curve's dark pixels.
std::pair<int, int> CurveRows(HWND plot) {
    RECT client{};
    GetClientRect(plot, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    int top = -1, bottom = -1;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetGValue(GetPixel(memory, x, y)) < 100) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return {top, bottom};
}

TEST_F(SettingsDialogTest, ThePlotFollowsTheAmplitudeAndItsPhaseRunsThroughThePeriod) {
    store_.Write("WaveAmp", "1");
    store_.Write("WaveFreq", "5");
    Open();
    HWND plot = Control(IDC_PICPREVIEW);
    dialog_->OnPreviewTimer();
    const auto [lowTop, lowBottom] = CurveRows(plot);
    ASSERT_GE(lowTop, 0) << "a curve is drawn";
    for (int i = 0; i < 9; ++i) Scroll(IDC_HSCROLLWAVEAMP, SB_LINERIGHT);
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVEAMP), 10);
    dialog_->OnPreviewTimer();
    const auto [highTop, highBottom] = CurveRows(plot);
    EXPECT_GT(highBottom - highTop, lowBottom - lowTop + 10) << "amplitude 10 swings wider than 1";

    // The phase runs 1, 2, ..., period - 1, 0, and restarts when the period drops below it; a
    // phase's picture is the same every time round, whatever the phase shown before it.
    EXPECT_EQ(dialog_->PreviewPhase(), 2);
    const support::ScreenShot second = support::CaptureClient(plot);
    dialog_->OnPreviewTimer();
    dialog_->OnPreviewTimer();
    EXPECT_EQ(dialog_->PreviewPhase(), 4);
    dialog_->OnPreviewTimer();
    EXPECT_EQ(dialog_->PreviewPhase(), 0);
    dialog_->OnPreviewTimer();
    EXPECT_NE(support::CaptureClient(plot).Pixels, second.Pixels);
    dialog_->OnPreviewTimer();
    EXPECT_EQ(support::CaptureClient(plot).Pixels, second.Pixels);
    for (int i = 0; i < 2; ++i) dialog_->OnPreviewTimer();
    Scroll(IDC_HSCROLLWAVEFREQ, SB_LINELEFT);
    Scroll(IDC_HSCROLLWAVEFREQ, SB_LINELEFT);
    dialog_->OnPreviewTimer();
    EXPECT_EQ(dialog_->PreviewPhase(), 0);
}

// The rows at which the wave function puts the curve, by column, as the plot is asked to draw it.
class CurveOfRows final : public WaveLineSink {
public:
    explicit CurveOfRows(int height) : height_(height) {}
    void DrawWaveLine(int x1, int y1, int x2, int y2, uint32_t) override {
        Rows[x1] = y1;
        Rows[x2] = y2;
    }
    int Height() const override { return height_; }
    std::map<int, int> Rows;

private:
    int height_;
};

bool Dark(uint32_t rgb) { return ((rgb >> 8) & 0xFF) < 100; }

TEST_F(SettingsDialogTest, ThePlotDrawsTheCurveOverTheWholeWidthOfItsBox) {
    store_.Write("WaveAmp", "10");
    store_.Write("WaveCount", "32");
    Open();
    dialog_->OnPreviewTimer();
    const support::ScreenShot shot = support::CaptureClient(Control(IDC_PICPREVIEW));
    const SettingsModel& model = dialog_->Model();
    WaveParams params;
    params.Counter = dialog_->PreviewPhase();
    params.Freq = model.Number(SettingId::WaveFreq);
    params.Height = shot.Width;
    params.Amp = 10;
    params.Count = 32;
    params.AscPercent = model.Number(SettingId::WaveAsc);
    params.Direction = model.Number(SettingId::WaveDirection);
    CurveOfRows curve(shot.Height);
    ComputeWaveTable(params, curve);
    int missed = 0, checked = 0;
    for (const auto& [x, y] : curve.Rows) {
        if (x >= shot.Width || y < 1 || y + 1 >= shot.Height) continue;
        ++checked;
        if (!Dark(shot.At(x, y - 1)) && !Dark(shot.At(x, y)) && !Dark(shot.At(x, y + 1))) ++missed;
    }
    EXPECT_GT(checked, shot.Width / 2);
    EXPECT_EQ(missed, 0) << "of " << checked << " points of the curve";
}

TEST_F(SettingsDialogTest, ThePathsCornersRoundHalfPixelsToEven) {
    // Corners at 0 and 1500 twips put the centres at 97.5 and 1597.5 twips: 6.5 and 106.5 pixels.
    store_.Write("PathPoints", "0,0;1500,0;1500,1500;0,1500");
    Open();
    const support::ScreenShot shot = support::CaptureClient(Control(IDC_PICTURESCROLLABLE));
    for (int along : {30, 60, 90}) {
        EXPECT_EQ(shot.At(along, 6), 0u) << along;
        EXPECT_EQ(shot.At(along, 106), 0u) << along;
        EXPECT_EQ(shot.At(6, along), 0u) << along;
        EXPECT_EQ(shot.At(106, along), 0u) << along;
    }
}

// The custom colours the colour chooser starts with, each time it opens; each opening then
// puts a colour of its own first, as a user who adds a custom colour does.
std::vector<COLORREF> g_customColoursSeen;

LRESULT CALLBACK WatchColourChooser(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    wchar_t name[16] = {};
    if (code == HC_ACTION && message->message == WM_INITDIALOG && message->lParam != 0 &&
        GetClassNameW(message->hwnd, name, 16) > 0 && std::wstring(name) == L"#32770") {
        auto* chooser = reinterpret_cast<CHOOSECOLORW*>(message->lParam);
        if (chooser->lStructSize == sizeof(CHOOSECOLORW) && chooser->lpCustColors != nullptr) {
            g_customColoursSeen.push_back(chooser->lpCustColors[0]);
            chooser->lpCustColors[0] = RGB(1, 2, 3);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SettingsDialogTest, TheColourChooserStartsOnTheGreysEveryTimeItOpens) {
    Open();
    g_customColoursSeen.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchColourChooser, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        DialogAnswers answers(dialog_->Window(), {{L"", IDOK}});
        Click(IDC_CMDCOLOR);
    }
    UnhookWindowsHookEx(hook);
    const COLORREF firstGrey = GreyCustomColours()[0];
    EXPECT_EQ(g_customColoursSeen, (std::vector<COLORREF>{firstGrey, firstGrey}));
}

TEST_F(SettingsDialogTest, TheUpdatePageOpensOwnedByTheSettingsWindow) {
    std::vector<HWND> owners;
    dialog_.emplace(context_, DialogLinks{{}, [&](HWND owner) { owners.push_back(owner); }});
    ASSERT_TRUE(dialog_->Create(nullptr));
    Command(IDM_UPDATE);
    EXPECT_EQ(owners, std::vector<HWND>{dialog_->Window()});
}

TEST_F(SettingsDialogTest, TheWaveSlidersLabelsHaveRoomInsideTheirFrameInEveryLanguage) {
    Open();
    const auto placeOf = [](HWND control) {
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
        return place;
    };
    const RECT frame = placeOf(Control(IDC_FRAME5));
    const int labels[][2] = {{IDC_LABEL14, IDC_LABEL15}, {IDC_LABEL6, IDC_LABEL7}, {IDC_LABEL11, IDC_LABEL12},
                             {IDC_LABEL9, IDC_LABEL8}};
    const int bars[] = {IDC_HSCROLLWAVEFREQ, IDC_HSCROLLWAVECOUNT, IDC_HSCROLLWAVEAMP, IDC_HSCROLLWAVEDIRECTION};
    for (int language : {IDM_GERMAN, IDM_ENGLISH, IDM_ITALIAN}) {
        Command(language);
        for (std::size_t row = 0; row < std::size(bars); ++row) {
            const RECT left = placeOf(Control(labels[row][0])), bar = placeOf(Control(bars[row])),
                       right = placeOf(Control(labels[row][1]));
            // Clear of the frame's lines and of the bar between them.
            EXPECT_GT(left.left, frame.left + 1) << TextOf(Control(labels[row][0]));
            EXPECT_LT(left.right, bar.left) << row;
            EXPECT_GT(right.left, bar.right) << row;
            EXPECT_LT(right.right, frame.right - 1) << TextOf(Control(labels[row][1]));
            for (int label : labels[row]) EXPECT_TRUE(support::TextFitsControl(Control(label))) << TextOf(Control(label));
        }
    }
}

TEST_F(SettingsDialogTest, TheColourChooserStartsOnTheSystemColourAsRgbAndStoresWhatItReturns) {
    Open();
    EXPECT_EQ(dialog_->Model().Number(SettingId::ColorBackground), static_cast<int32_t>(kButtonFaceColour));
    {
        DialogAnswers answers(dialog_->Window(), {{L"", IDOK}});
        Click(IDC_CMDCOLOR);
    }
    // Confirmed unchanged, the chooser hands back the colour it started on.
    EXPECT_EQ(dialog_->Model().Number(SettingId::ColorBackground), static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
    {
        DialogAnswers answers(dialog_->Window(), {{L"", IDCANCEL}});
        Click(IDC_CMDCOLOR);
    }
    EXPECT_EQ(dialog_->Model().Number(SettingId::ColorBackground), static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(SettingsDialogTest, AProfileSavedAndLoadedAgainGivesTheSameValuesAndACountOf40StopsTheLoad) {
    lurvane::testing::TempFolder folder;
    const std::string profilePath = folder.Path("Welle \xC3\xA4.rpp");  // a non-ASCII name
    const std::wstring profile = Widen(profilePath);
    const std::vector<std::pair<const char*, const char*>> values{
        {"WaveDirection", "1"}, {"WaveCount", "12"}, {"WaveFreq", "44"}, {"WaveAmp", "7"},
        {"WaveAsc", "33"},      {"Framerate", "25"}, {"PathPoints", "300,300;4000,300;4000,3000"}};
    for (const auto& [name, text] : values) store_.Write(name, text);
    Open();
    {
        DialogAnswers answers(dialog_->Window(), {{profile}});
        Click(IDC_CMDSAVEPATH);
    }
    ASSERT_EQ(GetFileAttributesW(profile.c_str()) != INVALID_FILE_ATTRIBUTES, true) << "the profile is written";

    // Every value changed, then the profile loaded again.
    Scroll(IDC_HSCROLLWAVEDIRECTION, SB_LINELEFT);
    for (int id : {IDC_HSCROLLWAVECOUNT, IDC_HSCROLLWAVEFREQ, IDC_HSCROLLWAVEAMP, IDC_HSCROLLFRAMERATE})
        Scroll(id, SB_LINELEFT);
    SendMessageW(Control(IDC_PICADJUST), WM_KEYDOWN, VK_LEFT, 0);
    {
        DialogAnswers answers(dialog_->Window(), {{profile}});
        Click(IDC_CMDLOADPATH);
    }
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVECOUNT), 12);
    EXPECT_EQ(TextOf(Control(IDC_LABELFRAMERATE)), "25");
    EXPECT_EQ(dialog_->PreviewInterval(), 40u);
    Command(IDOK);
    for (const auto& [name, text] : values) EXPECT_EQ(Stored(name), text) << name;

    // A count beyond its range stops the load after the direction; the path is replaced already.
    lurvane::testing::TempFolder::Write(
        profilePath,
        "[Path]\r\nPoints=15,15;2000,30;45,3000;10,10\r\n[Wave]\r\nDirection=0\r\nCount=40\r\nFreq=9\r\n");
    Open();
    {
        DialogAnswers answers(dialog_->Window(), {{profile}});
        Click(IDC_CMDLOADPATH);
    }
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVEDIRECTION), 0);
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVECOUNT), 12);
    EXPECT_EQ(ScrollValue(IDC_HSCROLLWAVEFREQ), 44);
    EXPECT_EQ(dialog_->Model().Text(SettingId::PathPoints), "15,15;2000,30;45,3000;10,10");

    // Saving over it and answering No leaves the file as it was.
    {
        DialogAnswers answers(dialog_->Window(), {{profile}, {L"", IDNO}});
        Click(IDC_CMDSAVEPATH);
    }
    SettingsModel reread;
    reread.SetProfilePath(profilePath);
    EXPECT_FALSE(LoadINI(reread).Complete());
    EXPECT_EQ(reread.Number(SettingId::WaveCount), 6) << "Count=40 is still there";
}

TEST_F(SettingsDialogTest, ASaveThatWouldMakeTheProfileTooLargeToReadIsRefusedWithAMessage) {
    lurvane::testing::TempFolder folder;
    const std::string profilePath = folder.Path("full.rpp");
    const std::string full = "[Wave]\r\nCount=7\r\n;" + std::string(kIniFileLimit - 30, 'x') + "\r\n";
    lurvane::testing::TempFolder::Write(profilePath, full);
    store_.Write("Language", "2");
    Open();
    std::wstring message;
    {
        DialogAnswers answers(dialog_->Window(), {{Widen(profilePath)}, {L"", IDYES}, {L"", IDOK, &message}});
        Click(IDC_CMDSAVEPATH);
    }
    EXPECT_EQ(Narrow(message), "The profile could not be saved.");
    EXPECT_TRUE(lurvane::testing::TempFolder::Read(profilePath) == full) << "the file is as it was";
}

// The plot's and the waves' phase moves on within `milliseconds` while the messages run.
bool PreviewTicks(const SettingsDialog& dialog, DWORD milliseconds) {
    const int16_t phase = dialog.PreviewPhase();
    return PumpUntil([&] { return dialog.PreviewPhase() != phase; }, milliseconds);
}

TEST_F(SettingsDialogTest, ThePreviewRestsWhileThePathPageCannotBeSeen) {
    Open();
    EXPECT_FALSE(PreviewTicks(*dialog_, 300)) << "hidden";
    ShowWindow(dialog_->Window(), SW_SHOW);
    EXPECT_TRUE(PreviewTicks(*dialog_, 3000)) << "shown";
    HWND tab = Control(IDC_SSTAB1);
    for (int page : {1, 0}) {
        TabCtrl_SetCurSel(tab, page);
        NMHDR header{tab, static_cast<UINT_PTR>(IDC_SSTAB1), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(dialog_->Window(), WM_NOTIFY, IDC_SSTAB1, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(PreviewTicks(*dialog_, page == 1 ? 300 : 3000), page == 0) << "page " << page;
    }
    ShowWindow(dialog_->Window(), SW_MINIMIZE);
    EXPECT_FALSE(PreviewTicks(*dialog_, 300)) << "minimised";
    ShowWindow(dialog_->Window(), SW_RESTORE);
    EXPECT_TRUE(PreviewTicks(*dialog_, 3000)) << "restored";
    Command(IDCANCEL);
    EXPECT_FALSE(PreviewTicks(*dialog_, 300)) << "closed";
}

}  // namespace
}  // namespace lurvane::win32
