// The program's services over memory, for tests and benchmarks that run the saver in their own
// process: stored settings in a map, no files, the real clock and GDI+, no trace. And pictures
// in the temporary folder that go again with the test.
#pragma once

#include <windows.h>

#include <cmath>
#include <string>

#include "program/win32/program_context.h"
#include "settings/memory_settings_store.h"
#include "support/win32/test_files.h"
#include "util/memory_file_system.h"
#include "util/win32/system_clock.h"
#include "util/win32/text_convert.h"

namespace support {

struct MemoryProgram {
    lurvane::MemorySettingsStore Settings;
    lurvane::MemoryFileSystem Files;
    lurvane::Language Texts;
    lurvane::win32::SystemClock Clock;
    lurvane::win32::GdiPlus Pictures;

    lurvane::win32::ProgramContext Context() { return {Settings, Files, Texts, lurvane::Trace(), Clock, Pictures}; }
};

// A path of `corners` marker corners in twips of the settings preview, spread evenly around its
// centre from the right: an ellipse of half-axes radiusX and radiusY, or a star when every other
// corner lies only `inner` times as far out.
inline std::string PathAroundCentreTwips(int corners, double radiusX, double radiusY, double inner = 1) {
    std::string text;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2 * 3.14159265358979 * i / corners, scale = i % 2 ? inner : 1;
        text += (i ? ";" : "") + std::to_string(static_cast<int>(2400 + scale * radiusX * std::cos(angle))) + "," +
                std::to_string(static_cast<int>(1770 + scale * radiusY * std::sin(angle)));
    }
    return text;
}

// A BMP in the temporary folder whose pixel (x, y) is colour(x, y) (0x00RRGGBB), removed again
// when the object goes. Path() is empty when it could not be written.
class TempPicture {
public:
    template <typename Colour>
    TempPicture(const wchar_t* name, int width, int height, Colour colour) {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + name;
        if (!WriteBmp(path_, width, height, colour)) path_.clear();
    }
    TempPicture(const TempPicture&) = delete;
    TempPicture& operator=(const TempPicture&) = delete;
    ~TempPicture() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }

    const std::wstring& Path() const { return path_; }
    std::string Utf8Path() const { return lurvane::win32::Narrow(path_); }

private:
    std::wstring path_;
};

}  // namespace support
