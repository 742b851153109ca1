// A fixture for runs over a stored picture and path: the settings are written before each
// test and removed, with the picture, after it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "saver_driver.h"

namespace e2e {

class StoredScene : public ::testing::Test {
protected:
    // Writes the picture as a BMP and stores it with the path (twips of the settings preview),
    // a strong wave and no restarts.
    void StoreScene(const wchar_t* fileName, int width, int height, const std::function<uint32_t(int, int)>& colour,
                    const wchar_t* path, const wchar_t* framerate) {
        ClearStoredSettings();
        picture_ = TempFilePath(fileName);
        ASSERT_TRUE(WriteBmp(picture_, width, height, colour));
        StoreSetting(L"BackgroundImage", picture_);
        StoreSetting(L"PathPoints", path);
        StoreSetting(L"WaveAmp", L"10");
        StoreSetting(L"Framerate", framerate);
        StoreSetting(L"RestartSec", L"0");
    }
    void TearDown() override {
        ClearStoredSettings();
        DeleteFileW(picture_.c_str());
    }
    std::wstring picture_;
};

}  // namespace e2e
