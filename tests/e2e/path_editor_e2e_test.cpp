// End-to-end: the path editor of the real saver's settings dialog, driven with the mouse and
// the keyboard as a user drives it, and judged by what OK stores and what the screen shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "dialog_driver.h"
#include "resource.h"
#include "saver_driver.h"

namespace e2e {
namespace {

constexpr double kTwipsPerPixel = 15;  // 96 DPI
constexpr double kHalfMarker = 97.5;
constexpr double kPreviewWidth = 4995, kPreviewHeight = 3735;

// A visible top-level window of the process with the class and, when given, the title.
HWND WindowOf(DWORD processId, const wchar_t* className, const wchar_t* title, HWND except = nullptr) {
    for (ULONGLONG end = GetTickCount64() + 5000; GetTickCount64() < end; Sleep(50)) {
        for (HWND window = FindWindowExW(nullptr, nullptr, className, title); window != nullptr;
             window = FindWindowExW(nullptr, window, className, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window) && window != except) return window;
        }
    }
    return nullptr;
}

// Right-clicks at `at` and takes the one item of the menu that opens there. A menu that opened
// anywhere else came from a click that Wine put where the pointer was before: it is closed
// unchosen and the click given again.
bool ChooseFromMenuAt(DWORD processId, POINT at) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        ClickAt(at, true);
        HWND menu = WindowOf(processId, L"#32768", nullptr);
        if (menu == nullptr) return false;
        Settle();
        const RECT place = PlaceOf(menu);
        const auto beside = [](LONG a, LONG b) { return std::abs(a - b) <= 2; };
        const bool openedAtClick = (beside(place.left, at.x) || beside(place.right, at.x)) &&
                                   (beside(place.top, at.y) || beside(place.bottom, at.y));
        PressKey(openedAtClick ? VK_DOWN : VK_ESCAPE);
        if (openedAtClick) PressKey(VK_RETURN);
        if (!WaitUntil([menu] { return !IsWindowVisible(menu); })) return false;
        if (openedAtClick) return true;
    }
    return false;
}

// The text of the message box the saver shows, which is then closed with Enter; empty when
// none came.
std::wstring AnswerMessage(DWORD processId) {
    HWND box = WindowOf(processId, L"#32770", L"Lurvane");
    if (box == nullptr) return {};
    std::wstring text;
    for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child != nullptr;
         child = FindWindowExW(box, child, L"Static", nullptr))
        text += TextOf(child);
    SetForegroundWindow(box);
    PressKey(VK_RETURN);
    Settle();
    return text;
}

HWND Marker(HWND dialog, int index) { return ControlOf(dialog, IDC_CMDPATH + index); }

// Drags marker `index` from its centre by (dx, dy) pixels, once it moved; gives the start.
POINT DragMarker(HWND dialog, int index, int dx, int dy) {
    HWND marker = Marker(dialog, index);
    const RECT before = PlaceOf(marker);
    const POINT start = ScreenCentre(marker);
    Drag(start, dx, dy);
    EXPECT_TRUE(WaitUntil([&] {
        const RECT now = PlaceOf(marker);
        return !EqualRect(&before, &now);
    })) << index;
    return start;
}

// The zoom-1 corner that a drag leaves in "PathPoints" when the pointer ends at `pointer`
// pixels of the viewport at zoom `zoom`: the marker's centre is put under the pointer in
// whole twips, kept on the zoomed preview, and scaled back to zoom 1 when stored.
long StoredCorner(int pointer, double zoom, double extent) {
    double corner = std::nearbyint(pointer * kTwipsPerPixel - kHalfMarker);
    corner = std::clamp(corner, std::nearbyint(-kHalfMarker), std::nearbyint(zoom * extent - kHalfMarker));
    return std::lround(std::nearbyint(static_cast<float>((corner + kHalfMarker) / zoom - kHalfMarker)));
}

class PathEditorRun : public ::testing::Test {
protected:
    void SetUp() override {
        ClearStoredSettings();
        StoreSetting(L"Language", L"2");
    }
    void TearDown() override {
        saver_.reset();
        ClearStoredSettings();
    }

    // Starts the saver's settings dialog on the path `points`.
    HWND Open(const wchar_t* points) {
        StoreSetting(L"PathPoints", points);
        return OpenSettingsDialog(saver_.emplace(L"/c"));
    }
    // A click on the button, as the user gives it.
    static void Press(HWND dialog, int button) { ClickAt(ScreenCentre(ControlOf(dialog, button)), false); }

    std::optional<SaverProcess> saver_;
};

TEST_F(PathEditorRun, DraggedMarkersMoveTheStoredPathByThePointersDistanceAtZoomOneAndTwo) {
    HWND dialog = Open(L"1000,1000;3000,1000;3000,2500;1000,1500");
    ASSERT_NE(dialog, nullptr);
    HWND preview = ControlOf(dialog, IDC_PICTURESCROLLABLE);
    const POINT origin = ViewportOrigin(preview);
    for (int i = 0; i < 4; ++i) ASSERT_NE(Marker(dialog, i), nullptr) << i;
    EXPECT_EQ(Marker(dialog, 4), nullptr);
    RECT marker{};
    GetClientRect(Marker(dialog, 0), &marker);
    EXPECT_EQ(marker.right, 13) << "195 twips square";
    EXPECT_EQ(marker.bottom, 13);

    // Zoom 1: marker 1 by (20, 10) pixels; marker 2 far beyond the bottom-right corner.
    const POINT one = DragMarker(dialog, 1, 20, 10);
    const POINT two = DragMarker(dialog, 2, 400, 300);
    // Without a picture the old polygon leaves no trail: where marker 1's corner of the polygon
    // was, now outside the polygon, the preview's back colour shows again.
    const COLORREF back = GetSysColor(COLOR_APPWORKSPACE);
    const ScreenShot shot = CaptureScreen(RECT{one.x, one.y, one.x + 1, one.y + 1});
    EXPECT_EQ(shot.At(0, 0), (GetRValue(back) << 16u) | (GetGValue(back) << 8u) | GetBValue(back));

    // Zoom 2: marker 3 by (-12, 6) pixels; marker 0 beyond the top-left corner.
    Press(dialog, IDC_CMDBTNZOOMUP);
    Press(dialog, IDC_CMDBTNZOOMUP);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(ControlOf(dialog, IDC_LABELZOOMFACTOR)) == L"2x"; }));
    const POINT three = DragMarker(dialog, 3, -12, 6);
    const POINT zero = DragMarker(dialog, 0, -300, -300);

    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(saver_->WaitForExit(5000));
    const auto at = [&](POINT start, int dx, int dy, double zoom) {
        return std::to_wstring(StoredCorner(start.x + dx - origin.x, zoom, kPreviewWidth)) + L"," +
               std::to_wstring(StoredCorner(start.y + dy - origin.y, zoom, kPreviewHeight));
    };
    const std::wstring expected =
        at(zero, -300, -300, 2) + L";" + at(one, 20, 10, 1) + L";" + at(two, 400, 300, 1) + L";" + at(three, -12, 6, 2);
    EXPECT_EQ(StoredData(L"PathPoints"), expected + L'\0');
    // The same in words: a centre dragged off the preview stays on its edge, and a drag of d
    // pixels moves the stored corner by about 15 d / zoom twips.
    EXPECT_EQ(expected.substr(0, expected.find(L';')), L"-98,-98");
    EXPECT_NE(expected.find(L";4898,3638;"), std::wstring::npos) << "4897.5 and 3637.5 round to even";
    EXPECT_NEAR(std::stol(expected.substr(expected.find(L';') + 1)), 3000 + 20 * 15, 15);
}

TEST_F(PathEditorRun, AddRemoveAndResetChangeTheStoredPathAndSayWhenTheyCannot) {
    HWND dialog = Open(L"500,500;2500,1500;1500,3000;300,2000");
    ASSERT_NE(dialog, nullptr);
    const POINT origin = ViewportOrigin(ControlOf(dialog, IDC_PICTURESCROLLABLE));

    // Inside the rectangle of the segment from point 0 to point 1: a new point 1 there.
    ASSERT_TRUE(ChooseFromMenuAt(saver_->Id(), POINT{origin.x + 100, origin.y + 67}));
    ASSERT_TRUE(WaitUntil([&] { return Marker(dialog, 4) != nullptr; }));
    // Below every segment's rectangle: nothing added, and the message says why.
    ASSERT_TRUE(ChooseFromMenuAt(saver_->Id(), POINT{origin.x + 320, origin.y + 240}));
    EXPECT_EQ(AnswerMessage(saver_->Id()),
              L"No point could be added.\r\nNew points can only be added between two existing points.");
    EXPECT_EQ(Marker(dialog, 5), nullptr);
    // Removing point 0 makes the old point 1 the first; reset keeps the first three.
    ASSERT_TRUE(ChooseFromMenuAt(saver_->Id(), ScreenCentre(Marker(dialog, 0))));
    EXPECT_TRUE(WaitUntil([&] { return Marker(dialog, 4) == nullptr; }));
    Press(dialog, IDC_CMDDELETEPATH);
    EXPECT_TRUE(WaitUntil([&] { return Marker(dialog, 3) == nullptr; }));
    // Three points stay three.
    ASSERT_TRUE(ChooseFromMenuAt(saver_->Id(), ScreenCentre(Marker(dialog, 1))));
    EXPECT_EQ(AnswerMessage(saver_->Id()), L"Not all points can be deleted");
    EXPECT_NE(Marker(dialog, 2), nullptr);
    // "Hide pathpoints" starts unchecked with the markers shown; checked, it hides them.
    HWND hide = ControlOf(dialog, IDC_CHKHIDEPATHPOINTS);
    EXPECT_EQ(SendMessageW(hide, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(IsWindowVisible(Marker(dialog, 0)));
    Press(dialog, IDC_CHKHIDEPATHPOINTS);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Marker(dialog, 0)) && !IsWindowVisible(Marker(dialog, 2)); }));
    Press(dialog, IDC_CHKHIDEPATHPOINTS);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Marker(dialog, 0)) && IsWindowVisible(Marker(dialog, 2)); }));

    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(saver_->WaitForExit(5000));
    // The click at (100, 67) pixels is (1500, 1005) twips; the corner lies half a marker
    // above and left of it: 1402.5 and 907.5, which round to even.
    EXPECT_EQ(StoredData(L"PathPoints"), std::wstring(L"1402,908;2500,1500;1500,3000") + L'\0');
}

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

TEST_F(PathEditorRun, TheKeyboardSelectsMovesRemovesAndUndoesPoints) {
    HWND dialog = Open(L"1000,1000;3000,1000;3000,2500;1000,2500");
    ASSERT_NE(dialog, nullptr);
    HWND preview = ControlOf(dialog, IDC_PICTURESCROLLABLE);
    ASSERT_EQ(FocusOf(dialog), ControlOf(dialog, IDC_SSTAB1));
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == preview; }));
    EXPECT_EQ(TextOf(Marker(dialog, 2)), L"Point 3 of 4");

    // The focus selected the first point: Delete removes it, undo brings it back, redo again.
    const RECT first = PlaceOf(Marker(dialog, 0));
    PressKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return Marker(dialog, 3) == nullptr; }));
    EXPECT_EQ(TextOf(Marker(dialog, 0)), L"Point 1 of 3");
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(WaitUntil([&] { return Marker(dialog, 3) != nullptr; }));
    const RECT back = PlaceOf(Marker(dialog, 0));
    EXPECT_TRUE(EqualRect(&first, &back));
    PressKeys({VK_CONTROL, 'Y'});
    EXPECT_TRUE(WaitUntil([&] { return Marker(dialog, 3) == nullptr; }));
    PressKeys({VK_CONTROL, VK_SHIFT, 'Z'});  // nothing left to redo
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(WaitUntil([&] { return Marker(dialog, 3) != nullptr; }));

    // Point 3 (index 2) by three pixels right and one down: 45 and 15 twips at 96 DPI.
    PressKey(VK_NEXT);
    PressKey(VK_NEXT);
    for (int i = 0; i < 3; ++i) PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    Settle();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(saver_->WaitForExit(5000));
    EXPECT_EQ(StoredData(L"PathPoints"), std::wstring(L"1000,1000;3000,1000;3045,2515;1000,2500") + L'\0');
}

int ScrollMaximum(HWND bar) {
    int minimum = 0, maximum = 0;
    GetScrollRange(bar, SB_CTL, &minimum, &maximum);
    return maximum;
}

int ScrollValue(HWND bar) { return GetScrollPos(bar, SB_CTL); }

TEST_F(PathEditorRun, ZoomButtonsAndToolsScrollBarsAndTheGrabToolAndAProfileSavedZoomedHoldsZoomOneNumbers) {
    const std::wstring picture = TempFilePath(L"zoomed beach.bmp");
    const std::wstring profile = TempFilePath(L"zoomed beach.rpp");
    DeleteFileW(profile.c_str());
    ASSERT_TRUE(WriteBmp(picture, 320, 240, [](int x, int y) { return (x / 40 + y / 40) % 2 != 0 ? 0x2060A0u : 0xE0C080u; }));
    StoreSetting(L"BackgroundImage", picture);
    HWND dialog = Open(L"1000,1000;3000,1000;3000,2500");
    ASSERT_NE(dialog, nullptr);
    HWND label = ControlOf(dialog, IDC_LABELZOOMFACTOR), across = ControlOf(dialog, IDC_HSCROLLPREVIEW),
         down = ControlOf(dialog, IDC_VSCROLLPREVIEW), in = ControlOf(dialog, IDC_CMDBTNZOOMUP),
         out = ControlOf(dialog, IDC_CMDBTNZOOMDN);
    const auto expectZoom = [&](const wchar_t* text, int maximum) {
        EXPECT_TRUE(WaitUntil([&] { return TextOf(label) == text; })) << TextOf(label) << " for " << text;
        EXPECT_EQ(ScrollMaximum(across), maximum) << text;
        EXPECT_EQ(ScrollMaximum(down), maximum) << text;
        EXPECT_EQ(IsWindowEnabled(in) != FALSE, std::wstring(text) != L"4x") << text;
        EXPECT_EQ(IsWindowEnabled(out) != FALSE, std::wstring(text) != L"1x") << text;
    };
    expectZoom(L"1x", 0);
    const wchar_t* labels[] = {L"1.5x", L"2x", L"2.5x", L"3x", L"3.5x", L"4x", L"4x"};
    for (int step = 0; step < 7; ++step) {
        Press(dialog, IDC_CMDBTNZOOMUP);
        // On a busy machine the first click into the dialog that has just opened can go unseen.
        if (step == 0 && !WaitUntil([&] { return TextOf(label) == labels[0]; })) Press(dialog, IDC_CMDBTNZOOMUP);
        expectZoom(labels[step], std::min(3 + step, 8));
    }
    for (int step = 4; step >= -2; --step) {
        Press(dialog, IDC_CMDBTNZOOMDN);
        expectZoom(step >= 0 ? labels[step] : L"1x", step >= 0 ? 3 + step : 0);
    }

    // The zoom-in tool zooms at the click and scrolls there; a right-click opens the point
    // menu and never zooms.
    const POINT origin = ViewportOrigin(ControlOf(dialog, IDC_PICTURESCROLLABLE));
    Press(dialog, IDC_OPTZOOMUP);
    ClickAt(POINT{origin.x + 250, origin.y + 180}, false);
    expectZoom(L"1.5x", 3);
    // (3750, 2700) twips at 1.5 times over a preview of 3 steps of 2497.5 and 1867.5 twips.
    EXPECT_EQ(ScrollValue(across), 2);
    EXPECT_EQ(ScrollValue(down), 2);
    ClickAt(POINT{origin.x + 250, origin.y + 180}, true);
    ASSERT_NE(WindowOf(saver_->Id(), L"#32768", nullptr), nullptr);
    PressKey(VK_ESCAPE);
    Settle();
    expectZoom(L"1.5x", 3);
    // A second click on the tool puts it down: clicks no longer zoom.
    Press(dialog, IDC_OPTZOOMUP);
    EXPECT_EQ(SendMessageW(ControlOf(dialog, IDC_OPTZOOMUP), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ClickAt(POINT{origin.x + 250, origin.y + 180}, false);
    expectZoom(L"1.5x", 3);

    // The grab tool: pulling the picture to the left shows more of its right part.
    Press(dialog, IDC_OPTGRAB);
    // On a busy machine Wine now and then loses a whole drag: one that moved nothing is given again.
    RetryUntil([&] { Drag(POINT{origin.x + 200, origin.y + 100}, -100, 0); }, [&] { return ScrollValue(across) != 2; });
    EXPECT_EQ(ScrollValue(across), 3);
    EXPECT_EQ(ScrollValue(down), 2);
    // A step down the scroll bar moves the picture and its markers up.
    const RECT before = PlaceOf(Marker(dialog, 0));
    SendMessageW(GetParent(down), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(down));
    EXPECT_EQ(ScrollValue(down), 3);
    EXPECT_LT(PlaceOf(Marker(dialog, 0)).top, before.top);
    // The zoom-out tool zooms out at the click.
    Press(dialog, IDC_OPTZOOMDN);
    ClickAt(POINT{origin.x + 20, origin.y + 20}, false);
    expectZoom(L"1x", 0);
    Press(dialog, IDC_CMDBTNZOOMUP);

    // Saved at zoom 2, the profile beside the picture holds the zoom-1 path.
    Press(dialog, IDC_CMDBTNZOOMUP);
    PostMessageW(ControlOf(dialog, IDC_CMDSAVEPATH), BM_CLICK, 0, 0);
    HWND save = WindowOf(saver_->Id(), L"#32770", nullptr, dialog);
    ASSERT_NE(save, nullptr);
    SetForegroundWindow(save);
    PressKey(VK_RETURN);
    // The file can be seen half written: wait for the path line itself.
    for (ULONGLONG end = GetTickCount64() + 5000;
         ReadFileBytes(profile).find("=1000,1000;3000,1000;3000,2500") == std::string::npos && GetTickCount64() < end;)
        Sleep(50);
    EXPECT_NE(ReadFileBytes(profile).find("=1000,1000;3000,1000;3000,2500"), std::string::npos) << ReadFileBytes(profile);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(saver_->WaitForExit(5000));
    DeleteFileW(profile.c_str());
    DeleteFileW(picture.c_str());
}

}  // namespace
}  // namespace e2e
