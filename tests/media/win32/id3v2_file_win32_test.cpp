// The tag reader over a real Windows file: a name that is not ASCII, and a tag that straddles the
// end of the first read, so that the reader has to seek.
#include "media/id3v2_tag_reader.h"
#include "util/win32/text_convert.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace lurvane::win32 {
namespace {

TEST(Win32ID3v2File, ATagIsReadThroughAWideNameAndASeek) {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
    const std::string path = Narrow(temp) + "Lurvane Grüße 波浪 " + std::to_string(GetCurrentProcessId()) + ".mp3";

    const std::string frame = std::string("TIT2\0\0\0\x07\0\0\0Wellen", 17);
    const std::string tag = std::string("ID3\x03\0\0\0\0\0", 9) + static_cast<char>(frame.size()) + frame;
    const std::string bytes = std::string(16 * kID3v2SearchChunk - 5, 'x') + tag + "audio";
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD written = 0;
    const bool wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(wrote && written == bytes.size());

    ID3v2TagInfo info;
    EXPECT_TRUE(ReadID3v2Tag(path, info));
    EXPECT_EQ(info.Title, "Wellen");
    EXPECT_EQ(info.TagSize, static_cast<int32_t>(frame.size()));
    DeleteFileW(Widen(path).c_str());
}

}  // namespace
}  // namespace lurvane::win32
