#include "dialog/win32/tool_tip.h"

#include <commctrl.h>

#include "util/win32/text_convert.h"

namespace lurvane::win32 {
namespace {

TTTOOLINFOW ToolOf(HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

}  // namespace

ToolTip::~ToolTip() { Destroy(); }

void ToolTip::Destroy() {
    RemoveAll();
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
}

bool ToolTip::Create(HWND owner) {
    if (window_ != nullptr) return true;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    window_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return false;
    // A maximum width turns on the line breaks inside a text; one wider than any screen keeps
    // the tip from wrapping its lines any further.
    SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
    return true;
}

bool ToolTip::SetText(HWND control, const std::string& text) {
    if (window_ == nullptr || control == nullptr || !IsWindow(control)) return false;
    // A tip of nothing but line breaks and blanks would show an empty bubble.
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return RemoveTool(control);
    const bool known = texts_.contains(control);
    std::wstring& stored = texts_[control];
    stored = Widen(text);
    TTTOOLINFOW tool = ToolOf(control);
    tool.lpszText = stored.data();
    if (known) {
        SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        return true;
    }
    if (SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0) return true;
    texts_.erase(control);
    return false;
}

std::string ToolTip::Text(HWND control) const {
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::string() : Narrow(found->second);
}

bool ToolTip::RemoveTool(HWND control) {
    const auto found = texts_.find(control);
    if (window_ == nullptr || found == texts_.end()) return false;
    TTTOOLINFOW tool = ToolOf(control);
    SendMessageW(window_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    texts_.erase(found);
    return true;
}

void ToolTip::RemoveAll() {
    while (!texts_.empty()) RemoveTool(texts_.begin()->first);
}

int ToolTip::ToolCount() const {
    return window_ == nullptr ? 0 : static_cast<int>(SendMessageW(window_, TTM_GETTOOLCOUNT, 0, 0));
}

void ToolTip::SetShowTime(int milliseconds) {
    if (window_ != nullptr) SendMessageW(window_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(milliseconds, 0));
}

}  // namespace lurvane::win32
