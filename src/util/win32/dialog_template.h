// A dialog template built in memory (the extended DLGTEMPLATEEX form), so a dialog can be laid
// out as one table in code and still get what template dialogs get from the system: keyboard
// navigation, mnemonics, dialog units that follow the font, and rescaling between screens of
// different DPI.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace lurvane::win32 {

struct DialogItem {
    std::wstring_view ClassName;  // "Button", "Static", "SysLink", ...
    std::wstring_view Text;
    WORD Id = 0;
    DWORD Style = 0;  // WS_CHILD | WS_VISIBLE are always added
    short X = 0, Y = 0, Width = 0, Height = 0;  // dialog units
    DWORD ExStyle = 0;
};

class DialogTemplate {
public:
    // A dialog in the shell font ("MS Shell Dlg", `pointSize`); DS_SHELLFONT is added to `style`.
    DialogTemplate(std::wstring_view title, DWORD style, short width, short height, WORD pointSize = 8);

    void Add(const DialogItem& item);

    // Valid until the next Add.
    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

private:
    void Append(WORD word) { words_.push_back(word); }
    void AppendDword(DWORD value);
    void AppendText(std::wstring_view text);
    void AlignToDword();

    std::vector<WORD> words_;
};

}  // namespace lurvane::win32
