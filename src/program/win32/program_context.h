// The services of one program run, made once by Main and handed to the saver run, the preview
// and the settings dialog. Nothing else in the program is process-wide: tests give the same
// parts an in-memory store, a fake file system and a driven clock.
#pragma once

#include "imaging/win32/gdiplus_api.h"
#include "settings/settings_store.h"
#include "text/language.h"
#include "util/clock.h"
#include "util/file_functions.h"
#include "util/trace.h"

namespace lurvane::win32 {

struct ProgramContext {
    SettingsStore& Settings;
    const FileSystem& Files;
    Language& Texts;  // in the current language; the stored choice is applied at each start
    Trace Tracer;
    const Clock& Time;
    const GdiPlus& Pictures;
};

}  // namespace lurvane::win32
