#include "about/system_information.h"

#include <gtest/gtest.h>

#include <map>

#include "util/memory_file_system.h"

namespace lurvane {
namespace {

class SystemInformation : public ::testing::Test {
protected:
    std::vector<std::string> Programs() const {
        return SystemInformationPrograms(
            [this](std::string_view key, std::string_view name) -> std::optional<std::string> {
                const auto found = values_.find(std::string(key) + "|" + std::string(name));
                if (found == values_.end()) return std::nullopt;
                return found->second;
            },
            files_);
    }
    void SetPath(std::string text) { values_[std::string(kSystemInformationKey) + "|PATH"] = std::move(text); }
    void SetFolder(std::string text) { values_[std::string(kSharedToolsLocationKey) + "|MSINFO"] = std::move(text); }

    std::map<std::string, std::string> values_;
    MemoryFileSystem files_;
};

TEST_F(SystemInformation, NeitherValueMeansNotAvailable) {
    EXPECT_TRUE(Programs().empty());
    SetPath("");
    SetFolder("   ");
    EXPECT_TRUE(Programs().empty()) << "empty values name no program";
}

TEST_F(SystemInformation, ThePathValueComesFirstAndIsTakenWithoutCheckingTheFile) {
    SetPath("C:\\Programme\\Gemeinsame Dateien\\MSInfo\\msinfo32.exe");
    files_.AddFile("D:\\Tools\\MSINFO32.EXE");
    SetFolder("D:\\Tools");
    EXPECT_EQ(Programs(), (std::vector<std::string>{"C:\\Programme\\Gemeinsame Dateien\\MSInfo\\msinfo32.exe",
                                                    "D:\\Tools\\MSINFO32.EXE"}));
}

TEST_F(SystemInformation, TheFolderValueCountsOnlyWhenTheProgramFileIsThere) {
    SetFolder("D:\\Tools\\");
    EXPECT_TRUE(Programs().empty()) << "no file in the folder";
    files_.AddFolder("D:\\Tools\\MSINFO32.EXE");
    EXPECT_TRUE(Programs().empty()) << "a folder of that name is no program";

    files_.AddFile("D:\\Werkzeuge für Ärzte\\msinfo32.exe");
    SetFolder("D:\\Werkzeuge für Ärzte");
    EXPECT_EQ(Programs(), std::vector<std::string>{"D:\\Werkzeuge für Ärzte\\MSINFO32.EXE"})
        << "one separator is added, the name's case does not matter";
}

TEST_F(SystemInformation, HandEditedQuotesAndBlanksAreDropped) {
    SetPath("  \"C:\\My Tools\\msinfo32.exe\"  ");
    files_.AddFile("C:\\My Tools\\MSINFO32.EXE");
    SetFolder("\"C:\\My Tools\\\"");
    EXPECT_EQ(Programs(), (std::vector<std::string>{"C:\\My Tools\\msinfo32.exe", "C:\\My Tools\\MSINFO32.EXE"}));
    SetPath("\"\"");
    EXPECT_EQ(Programs(), std::vector<std::string>{"C:\\My Tools\\MSINFO32.EXE"});
}

}  // namespace
}  // namespace lurvane
