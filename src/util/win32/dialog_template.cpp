#include "util/win32/dialog_template.h"

namespace lurvane::win32 {
namespace {

// Where the item count sits in DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style.
constexpr std::size_t kItemCountWord = 2 + 2 + 2 + 2;

}  // namespace

DialogTemplate::DialogTemplate(std::wstring_view title, DWORD style, short width, short height, WORD pointSize) {
    Append(1);       // dlgVer
    Append(0xFFFF);  // signature of the extended form
    AppendDword(0);  // helpID
    AppendDword(0);  // exStyle
    AppendDword(style | DS_SHELLFONT);
    Append(0);  // item count, raised by Add
    for (const short value : {short{0}, short{0}, width, height}) Append(static_cast<WORD>(value));
    Append(0);  // no menu
    Append(0);  // the system's dialog class
    AppendText(title);
    Append(pointSize);
    Append(FW_NORMAL);
    Append(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, character set
    AppendText(L"MS Shell Dlg");
}

void DialogTemplate::Add(const DialogItem& item) {
    AlignToDword();
    AppendDword(0);  // helpID
    AppendDword(item.ExStyle);
    AppendDword(item.Style | WS_CHILD | WS_VISIBLE);
    for (const short value : {item.X, item.Y, item.Width, item.Height}) Append(static_cast<WORD>(value));
    AppendDword(item.Id);
    AppendText(item.ClassName);
    AppendText(item.Text);
    Append(0);  // no creation data
    ++words_[kItemCountWord];
}

void DialogTemplate::AppendDword(DWORD value) {
    Append(LOWORD(value));
    Append(HIWORD(value));
}

void DialogTemplate::AppendText(std::wstring_view text) {
    for (const wchar_t c : text) Append(static_cast<WORD>(c));
    Append(0);
}

void DialogTemplate::AlignToDword() {
    // The vector's storage is aligned for any scalar, so an even word count is a DWORD boundary.
    if (words_.size() % 2 != 0) Append(0);
}

}  // namespace lurvane::win32
