// The file functions over the real Windows find functions, in a folder whose name is not ASCII.
#include "util/file_functions.h"
#include "util/win32/text_convert.h"
#include "util/win32/win32_file_system.h"
#include "waves/random_background.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lurvane::win32 {
namespace {

using Names = std::vector<std::string>;

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A fresh folder below the temporary folder, removed with everything in it at the end.
class Win32FileFunctions : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
        root_ = Narrow(temp);
        if (root_.back() != '\\') root_.push_back('\\');
        root_ += "Lurvane Prüfung für Oma – Ærø 日本 " + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(CreateDirectoryW(Widen(root_).c_str(), nullptr)) << GetLastError();
    }

    void TearDown() override { RemoveTree(root_); }

    void MakeFile(const std::string& name) {
        const HANDLE file = CreateFileW(Widen(root_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name << " " << GetLastError();
        CloseHandle(file);
    }
    void MakeFolder(const std::string& name) {
        ASSERT_TRUE(CreateDirectoryW(Widen(root_ + name).c_str(), nullptr)) << name << " " << GetLastError();
    }

    static void RemoveTree(const std::string& folder) {
        const FileSystem& fs = Win32FileSystem();
        for (const DirectoryEntry& entry : fs.FindEntries(folder, "*")) {
            if (entry.Name == "." || entry.Name == "..") continue;
            if (entry.IsFolder) RemoveTree(folder + entry.Name + "\\");
            else DeleteFileW(Widen(folder + entry.Name).c_str());
        }
        RemoveDirectoryW(Widen(folder).c_str());
    }

    std::string root_;
};

TEST_F(Win32FileFunctions, ListFilesNamesFilesAndFoldersWithoutDotEntries) {
    MakeFile("x.rpp");
    MakeFile("Strand – Ærø.JPG");
    MakeFolder("old");
    const FileSystem& fs = Win32FileSystem();

    EXPECT_EQ(Sorted(ListFiles(fs, root_, "*")), Sorted({"x.rpp", "Strand – Ærø.JPG", ".old"}));
    EXPECT_EQ(ListFiles(fs, root_, "*.rpp"), Names{"x.rpp"});
    EXPECT_EQ(ListFiles(fs, root_, "strand*"), Names{"Strand – Ærø.JPG"}) << "the system ignores case";
    EXPECT_EQ(ListFiles(fs, root_, "*.gif"), Names{});
    EXPECT_EQ(ListFiles(fs, root_ + "missing\\", "*"), Names{});

    // The raw search reports the dot entries of a sub-folder, which ListFiles drops.
    const auto raw = fs.FindEntries(root_ + "old\\", "*");
    EXPECT_TRUE(std::any_of(raw.begin(), raw.end(), [](const DirectoryEntry& e) { return e.Name == ".." && e.IsFolder; }));
    EXPECT_EQ(ListFiles(fs, root_ + "old\\", "*"), Names{});
}

TEST_F(Win32FileFunctions, PickRandomFileTakesAMatchingEntry) {
    MakeFile("Strand – Ærø.JPG");
    MakeFile("a.rpp");
    MakeFile("b.rpp");
    const FileSystem& fs = Win32FileSystem();

    EXPECT_EQ(PickRandomFile(fs, root_, "*.jpg", 100.25), "Strand – Ærø.JPG");
    EXPECT_EQ(PickRandomFile(fs, root_, "*.bmp", 100.25), "");
    EXPECT_EQ(PickRandomFile(fs, root_ + "missing\\", "*", 100.25), "");
    Names seen;
    for (int i = 0; i < 40; ++i) seen.push_back(PickRandomFile(fs, root_, "*.rpp", 1000.0 + i * 7.5));
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen, (Names{"a.rpp", "b.rpp"}));
}

// The real documents folder stays untouched: this file system reports the test folder instead.
class TestDocuments final : public FileSystem {
public:
    explicit TestDocuments(std::string folder) : folder_(std::move(folder)) {}
    std::vector<DirectoryEntry> FindEntries(std::string_view folder, std::string_view pattern) const override {
        return Win32FileSystem().FindEntries(folder, pattern);
    }
    std::string DocumentsFolder() const override { return folder_; }

private:
    std::string folder_;
};

TEST_F(Win32FileFunctions, RandomBackgroundFindsANonAsciiPictureOnDisk) {
    MakeFolder("Lurvane Pictures");
    MakeFile("Lurvane Pictures\\Strand – Ærø.rpp");
    MakeFile("Lurvane Pictures\\Strand – Ærø.txt");
    MakeFile("Lurvane Pictures\\Strand – Ærø.Jpg");
    const TestDocuments fs(root_.substr(0, root_.size() - 1));

    const std::string picture = PickRandomBackground("", true, fs, 30000.0);
    EXPECT_EQ(picture, root_ + "Lurvane Pictures\\Strand – Ærø.Jpg");
    EXPECT_NE(GetFileAttributesW(Widen(picture).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32DocumentsFolder, IsAnExistingFolderWithoutTrailingBackslash) {
    const std::string documents = GetDocumentsFolder(Win32FileSystem());
    ASSERT_FALSE(documents.empty());
    EXPECT_NE(documents.back(), '\\');
    EXPECT_TRUE(IsFolder(documents)) << documents;
}

}  // namespace
}  // namespace lurvane::win32
