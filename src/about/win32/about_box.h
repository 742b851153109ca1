// The about box and the link to the maker's update page, both reached from the settings dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "about/system_information.h"
#include "about/win32/registry_value.h"
#include "program/win32/program_context.h"

namespace lurvane::win32 {

// Hands an address (a web page or a "mailto:" link) to the system for the user, owned by
// `owner`. Whether anything opens is not examined: a missing browser shows nothing.
using LinkOpener = std::function<void(HWND owner, const std::string& address)>;
void OpenWithShell(HWND owner, const std::string& address);

// Starts a program by its path with a normal window; false when it cannot be started.
using ProgramStarter = std::function<bool(HWND owner, const std::string& path)>;
bool StartWithShell(HWND owner, const std::string& path);

// What the about box does outside itself; tests replace these to see it without a browser,
// a registry entry or a started program.
struct AboutBoxActions {
    LinkOpener OpenLink = OpenWithShell;
    MachineValueReader ReadMachineValue = ReadLocalMachineValue;
    ProgramStarter StartProgram = StartWithShell;
};

// The about box, modal and owned by `owner`, in the context's current language.
void ShowAboutBox(HWND owner, const ProgramContext& context, const AboutBoxActions& actions = {});

// Opens the maker's update page, with the product, version and language, in the default browser.
void OpenUpdatePage(const ProgramContext& context, HWND owner = nullptr, const LinkOpener& openLink = OpenWithShell);

}  // namespace lurvane::win32
