// The settings dialog's general and background settings: the check boxes, the number boxes,
// the picture's fit and colour, the picture itself and the profiles stored beside it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "dialog/win32/page_host.h"
#include "program/win32/program_context.h"
#include "settings/settings_model.h"
#include "util/win32/handles.h"

namespace lurvane::win32 {

class GeneralPage {
public:
    GeneralPage(PageHost& host, SettingsModel& model, const ProgramContext& context);
    GeneralPage(const GeneralPage&) = delete;
    GeneralPage& operator=(const GeneralPage&) = delete;

    // False when the control is not one of this page's.
    bool OnCommand(int id, int code);
    // The number boxes' limits apply as if they had lost the focus.
    void CommitNumberBoxes();
    void UpdateEnabledStates();
    // The swatch shows the model's colour.
    void ShowColour();
    // The brush that paints `control`; null for the controls the system paints.
    HBRUSH BrushFor(HWND control) const;

private:
    void OnNumberBoxChanged(int id);
    void CommitNumberBox(int id);
    void LoadProfile();
    void SaveProfile();
    void ChooseColour();
    void ChoosePicture();

    PageHost& host_;
    SettingsModel& model_;
    const ProgramContext& context_;
    GdiObject swatchBrush_;
};

}  // namespace lurvane::win32
