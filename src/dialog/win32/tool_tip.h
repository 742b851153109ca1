// The settings dialog's tooltips: one tooltip window and one tool per control, each showing
// its text with the line breaks the text carries and no further wrapping.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace lurvane::win32 {

class ToolTip {
public:
    ToolTip() = default;
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;
    ~ToolTip();

    // Makes the tooltip window, owned by `owner`; true when it exists. Without it every other
    // member does nothing, so the dialog works without tips.
    bool Create(HWND owner);
    // Removes the tools and the window; called while the owner still exists, since the window
    // goes with its owner.
    void Destroy();
    HWND Window() const { return window_; }

    // Gives `control` the text (UTF-8, lines separated by CR LF); an empty text removes its
    // tool. A control gets one tool however often it is given a text.
    bool SetText(HWND control, const std::string& text);
    // The text the control's tool shows, as we gave it; empty when it has none.
    std::string Text(HWND control) const;
    bool RemoveTool(HWND control);
    void RemoveAll();
    int ToolCount() const;

    // How long a tip stays visible, in milliseconds.
    void SetShowTime(int milliseconds);

private:
    HWND window_ = nullptr;
    // The texts live here, not only in the tooltip window: the window keeps pointers into them.
    std::map<HWND, std::wstring> texts_;
};

}  // namespace lurvane::win32
