#include "dialog/win32/general_page.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "dialog/dialog_rules.h"
#include "dialog/win32/dialog_controls.h"
#include "dialog/win32/dialog_tables.h"
#include "imaging/picture_types.h"
#include "imaging/win32/screen_capture.h"
#include "resource.h"
#include "settings/profile.h"
#include "util/common_dialog_rules.h"
#include "util/file_functions.h"
#include "util/win32/common_dialogs.h"
#include "util/win32/text_convert.h"

namespace lurvane::win32 {

GeneralPage::GeneralPage(PageHost& host, SettingsModel& model, const ProgramContext& context)
    : host_(host), model_(model), context_(context) {}

bool GeneralPage::OnCommand(int id, int code) {
    switch (id) {
    case IDC_TXRESTARTSEC:
    case IDC_TXSIZE:
        if (code == EN_CHANGE) OnNumberBoxChanged(id);
        else if (code == EN_KILLFOCUS) CommitNumberBox(id);
        return true;
    case IDC_CHKSHOWFPS:
    case IDC_CHKRANDOMIZEBACKGROUND:
    case IDC_CHKUSESYSTEMTIMER:
        if (code == BN_CLICKED) {
            host_.TakeSetting(BindingOfControl(id)->Setting);
            host_.UpdateEnabledStates();
        }
        return true;
    case IDC_OPTMAXI:
    case IDC_OPTPROP:
        // The size box stands between the two options, so they do not share a group.
        if (code == BN_CLICKED) {
            model_.SetNumber(SettingId::MaximizeBackground, id == IDC_OPTMAXI ? 1 : 0);
            host_.ShowSetting(SettingId::MaximizeBackground);
            host_.UpdateEnabledStates();
        }
        return true;
    case IDC_CMDLOADPATH:
        LoadProfile();
        return true;
    case IDC_CMDSAVEPATH:
        SaveProfile();
        return true;
    case IDC_CMDCOLOR:
        ChooseColour();
        return true;
    case IDC_CMDCHOOSEBACKGROUNDIMAGE:
        ChoosePicture();
        return true;
    }
    return false;
}

void GeneralPage::UpdateEnabledStates() {
    const bool random = model_.IsChecked(SettingId::RandomizeBackground);
    for (int id : {IDC_LABEL19, IDC_TXRESTARTSEC, IDC_LABEL22}) EnableWindow(host_.Control(id), random);
    const bool proportional = !model_.IsChecked(SettingId::MaximizeBackground);
    for (int id : {IDC_LABEL20, IDC_TXSIZE, IDC_LABEL21}) EnableWindow(host_.Control(id), proportional);
}

void GeneralPage::ShowColour() {
    swatchBrush_.reset(CreateSolidBrush(ColourFromSetting(model_.BackgroundColour())));
    InvalidateRect(host_.Control(IDC_COLBACK), nullptr, TRUE);
}

HBRUSH GeneralPage::BrushFor(HWND control) const {
    if (control == host_.Control(IDC_COLBACK) && swatchBrush_) return static_cast<HBRUSH>(swatchBrush_.get());
    return nullptr;
}

void GeneralPage::OnNumberBoxChanged(int id) {
    if (host_.RewritingText()) return;
    HWND box = host_.Control(id);
    const std::string typed = WindowText(box);
    const std::string shown = NumberBoxText(typed);
    if (shown != typed) {
        // Only a text that changes is rewritten, and the caret goes back to its end.
        host_.RewriteText(box, shown);
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
        SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    host_.TakeSetting(BindingOfControl(id)->Setting);
}

void GeneralPage::CommitNumberBox(int id) {
    const SettingId setting = BindingOfControl(id)->Setting;
    host_.TakeSetting(setting);
    model_.CommitNumberBox(setting);
    host_.ShowSetting(setting);
}

void GeneralPage::CommitNumberBoxes() {
    CommitNumberBox(IDC_TXRESTARTSEC);
    CommitNumberBox(IDC_TXSIZE);
}

void GeneralPage::LoadProfile() {
    const Language& texts = context_.Texts;
    std::string path = GetDocumentsFolder(context_.Files) + "\\Lurvane Pictures\\";
    model_.SetProfilePath(path);
    FileDialogRequest request;
    request.Title = texts.GetLangString(TextId::LoadProfileTitle);
    request.Filter = FilterText({{texts.GetLangString(TextId::ProfileFileType) + " (*.rpp)", "*.rpp"}});
    request.DefaultExtension = "RPP";
    request.ViewCommand = kListView;
    const bool confirmed = ShowFileDialog(host_.Window(), request, path);
    if (confirmed) {
        model_.SetProfilePath(path);
        SetText(host_.Control(IDC_TXPATHPOINTS), path);
        if (!path.empty() && GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
            const PathMarkers before = model_.Path();
            const ProfileLoadResult result = LoadINI(model_);
            host_.RecordPathEdit(before);
            host_.ShowLoadedProfile();  // draws the preview with the markers where the load left them
            if (!result.Complete()) return;
        }
    }
    host_.RenderPreview(false);
}

void GeneralPage::SaveProfile() {
    const Language& texts = context_.Texts;
    std::string path = ChangeExtension(model_.Text(SettingId::BackgroundImage), "rpp");
    model_.SetProfilePath(path);
    FileDialogRequest request;
    request.Save = true;
    request.Title = texts.GetLangString(TextId::SaveProfileTitle);
    request.Filter = FilterText({{texts.GetLangString(TextId::ProfileFileType) + " (*.rpp)", "*.rpp"}});
    request.DefaultExtension = "RPP";
    request.ViewCommand = kListView;
    if (!ShowFileDialog(host_.Window(), request, path) || path.empty()) return;
    model_.SetProfilePath(path);
    SetText(host_.Control(IDC_TXPATHPOINTS), path);
    if (GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES &&
        host_.Ask(texts.GetLangString(TextId::FileExists) + "\r\n" + texts.GetLangString(TextId::Overwrite),
                  MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The model writes the path at zoom factor 1; a refused save leaves the file as it was.
    if (!SaveINI(model_)) host_.Ask(texts.GetLangString(TextId::ProfileNotSaved), MB_OK | MB_ICONERROR);
}

void GeneralPage::ChooseColour() {
    // Custom colours the user made last time are not kept: every opening starts on the greys.
    std::array<COLORREF, 16> customColours{};
    const auto greys = GreyCustomColours();
    std::copy(greys.begin(), greys.end(), customColours.begin());
    const std::optional<COLORREF> chosen =
        ChooseColorDialog(host_.Window(), ColourFromSetting(model_.BackgroundColour()), customColours);
    if (!chosen) return;
    model_.SetNumber(SettingId::ColorBackground, static_cast<double>(*chosen));
    host_.ShowSetting(SettingId::ColorBackground);
}

void GeneralPage::ChoosePicture() {
    const Language& texts = context_.Texts;
    std::string path = model_.Text(SettingId::BackgroundImage);
    FileDialogRequest request;
    request.Title = texts.GetLangString(TextId::ChooseBackgroundPicture);
    std::string allPictures;
    for (std::string_view extension : kPictureExtensions)
        allPictures += (allPictures.empty() ? "*." : ";*.") + std::string(extension);
    request.Filter = FilterText({{texts.GetLangString(TextId::AllPictures) + " (" + allPictures + ")", allPictures},
                                 {"BMP (*.bmp)", "*.bmp"},
                                 {"JPG (*.jpg;*.jpeg)", "*.jpg;*.jpeg"},
                                 {"GIF (*.gif)", "*.gif"},
                                 {"PNG (*.png)", "*.png"},
                                 {"TIFF (*.tif;*.tiff)", "*.tif;*.tiff"},
                                 {texts.GetLangString(TextId::AllFiles) + " (*.*)", "*.*"}});
    request.ViewCommand = kThumbnailView;
    if (ShowFileDialog(host_.Window(), request, path) && !path.empty()) {
        model_.SetText(SettingId::BackgroundImage, path);
        host_.ShowSetting(SettingId::BackgroundImage);
        const std::string profile = GetProfilePath(path);
        model_.SetProfilePath(profile);
        SetText(host_.Control(IDC_TXPATHPOINTS), profile);
        if (GetFileAttributesW(Widen(profile).c_str()) != INVALID_FILE_ATTRIBUTES &&
            host_.Ask(texts.GetLangString(TextId::ProfileFound) + "\r\n" + texts.GetLangString(TextId::LoadProfileToo),
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
            const PathMarkers before = model_.Path();
            LoadINI(model_);
            host_.RecordPathEdit(before);
            host_.ShowLoadedProfile();
        }
    }
    host_.RenderPreview(false);
}

}  // namespace lurvane::win32
