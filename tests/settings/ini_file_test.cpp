#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cctype>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "settings/file_bytes.h"
#include "support/temp_folder.h"

namespace lurvane {
namespace {

using testing::TempFolder;

TEST(IniFile, AMissingFileGivesTheDefaultAndIsCreatedOnWrite) {
    TempFolder folder;
    const std::string file = folder.Path("new.rpp");
    EXPECT_EQ(ReadINIValue("Wave", "Count", "6", file), "6");
    WriteINIValue("Path", "Points", "1,2;3,4", file);
    WriteINIValue("Wave", "Direction", "1", file);
    WriteINIValue("Wave", "Count", "7", file);
    WriteINIValue("Animation", "Framerate", "20", file);
    EXPECT_EQ(TempFolder::Read(file),
              "[Path]\r\nPoints=1,2;3,4\r\n[Wave]\r\nDirection=1\r\nCount=7\r\n[Animation]\r\nFramerate=20\r\n");
    EXPECT_EQ(ReadINIValue("wave", "COUNT", "", file), "7");
}

TEST(IniFile, WritesReplaceInPlaceAppendToTheirSectionAndLeaveEverythingElse) {
    TempFolder folder;
    const std::string file = folder.Path("hand.rpp");
    TempFolder::Write(file, "; my profile\n[WAVE]\ncount = 3 \nextra=keep\n\n[Other]\nx=1");
    WriteINIValue("Wave", "Count", "9", file);
    WriteINIValue("Wave", "Amp", "5", file);
    WriteINIValue("Other", "y", "2", file);
    WriteINIValue("Path", "Points", "", file);
    EXPECT_EQ(TempFolder::Read(file),
              "; my profile\n[WAVE]\ncount=9\nextra=keep\nAmp=5\r\n\n[Other]\nx=1\r\ny=2\r\n[Path]\r\nPoints=\r\n");
    EXPECT_EQ(ReadINIValue("Path", "Points", "default", file), "");
}

TEST(IniFile, ReadingTrimsQuotesTakesTheFirstMatchAndLimitsTheLength) {
    TempFolder folder;
    const std::string file = folder.Path("odd.rpp");
    const std::string longValue(20000, '7');
    TempFolder::Write(file, "Key=outside\r\n [ Wave ] \r\n\tAsc =\t\"12\" \r\nasc=second\r;Amp=3\r\nFreq\r\n[wave]\r\nAmp=4\r\n"
                            "[Path]\nPoints=" + longValue + "\n");
    EXPECT_EQ(ReadINIValue("Wave", "Asc", "", file), "12");
    EXPECT_EQ(ReadINIValue("Wave", "Amp", "none", file), "none");  // a comment, and a later duplicate section
    EXPECT_EQ(ReadINIValue("Wave", "Freq", "none", file), "none");
    EXPECT_EQ(ReadINIValue("Wave", "Key", "none", file), "none");
    EXPECT_EQ(ReadINIValue("Path", "Points", "", file).size(), kIniValueLimit);
}

TEST(IniFile, NamesAreTrimmedAlikeWhenWrittenAndReadSoEveryWriteIsFoundAgain) {
    TempFolder folder;
    const std::string file = folder.Path("names.rpp");
    const std::vector<std::string> sections{"Wave", " wave", "WAVE\t", "Path", " Animation "};
    const std::vector<std::string> keys{"Count", " count", "AMP ", "Points", "\tFreq"};
    auto canonical = [](std::string name) {
        std::string trimmed;
        for (char c : name)
            if (c != ' ' && c != '\t') trimmed.push_back(static_cast<char>(std::tolower(c)));
        return trimmed;
    };
    std::map<std::pair<std::string, std::string>, std::string> written;
    std::mt19937 random(11);
    for (int i = 0; i < 60; ++i) {
        const std::string& section = sections[random() % sections.size()];
        const std::string& key = keys[random() % keys.size()];
        const std::string value = std::to_string(random() % 1000);
        WriteINIValue(section, key, value, file);
        written[{canonical(section), canonical(key)}] = value;
    }
    std::vector<IniKey> asked;
    std::vector<std::string> expected;
    for (const std::string& section : sections)
        for (const std::string& key : keys) {
            auto found = written.find({canonical(section), canonical(key)});
            const std::string value = found == written.end() ? "none" : found->second;
            EXPECT_EQ(ReadINIValue(section, key, "none", file), value) << "[" << section << "] " << key;
            asked.push_back({section, key, "none"});
            expected.push_back(value);
        }
    EXPECT_EQ(ReadINIValues(file, asked), expected);
    // One section of each name, and no name written with its blanks.
    std::string text = TempFolder::Read(file);
    for (char& c : text) c = static_cast<char>(std::tolower(c));
    for (const char* header : {"[wave]\r\n", "[path]\r\n", "[animation]\r\n"}) {
        const std::size_t first = text.find(header);
        EXPECT_NE(first, std::string::npos) << header;
        EXPECT_EQ(text.find(header, first + 1), std::string::npos) << header;
    }
    EXPECT_EQ(text.find(" "), std::string::npos);
    EXPECT_EQ(text.find("\t"), std::string::npos);
}

TEST(IniFile, ManyKeysAreAnsweredFromOneWalkWithTheRulesOfSingleReads) {
    TempFolder folder;
    const std::string file = folder.Path("many.rpp");
    TempFolder::Write(file, "[Path]\r\nPoints=1,2\r\n[Wave]\r\nCount=3\r\n[Other]\r\nAmp=9\r\n[wave]\r\nAmp=4\r\n"
                            "Freq=5\r\n[Animation]\r\nFramerate='40'\r\n");
    const std::vector<IniKey> keys{{"Animation", "Framerate", "20"}, {"Wave", "Count", "6"}, {"Wave", "Amp", "2"},
                                   {"Path", "Points", ""},           {"Wave", "Count", "7"}, {"Sound", "File", "x"}};
    EXPECT_EQ(ReadINIValues(file, keys), (std::vector<std::string>{"40", "3", "2", "1,2", "3", "x"}));
    EXPECT_EQ(ReadINIValues(folder.Path("missing.rpp"), keys),
              (std::vector<std::string>{"20", "6", "2", "", "7", "x"}));
    EXPECT_TRUE(ReadINIValues(file, {}).empty());
}

// A batch of values written in one walk of the file must leave exactly what writing them one
// after the other leaves, whatever the file's sections, keys, blank lines and line ends.
TEST(IniFile, ABatchOfWritesLeavesWhatSingleWritesInTurnLeave) {
    TempFolder folder;
    const std::string batchFile = folder.Path("batch.rpp"), singleFile = folder.Path("single.rpp");
    std::mt19937 random(2024);
    auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
    };
    const std::vector<std::string> lines{"[A]", "[a]", " [ B ] ", "[C", "[]", "k=1", " K = 2 ", "x=", "; k=3",
                                         "y", "", "   ", "Z=zz"};
    const std::vector<std::string> endings{"\r\n", "\n", "\r"};
    const std::vector<std::string> sections{"A", "a", " B", "C", "New", "NEW"};
    const std::vector<std::string> keys{"k", "K", "x", " y ", "Z", "w"};
    for (int round = 0; round < 400; ++round) {
        std::string text = round % 7 == 0 ? "\xEF\xBB\xBF" : "";
        for (int i = std::uniform_int_distribution<int>(0, 12)(random); i > 0; --i)
            text += pick(lines) + (i > 1 || random() % 2 ? pick(endings) : "");
        std::vector<std::string> owned;
        for (int i = std::uniform_int_distribution<int>(1, 8)(random); i > 0; --i)
            owned.insert(owned.end(), {pick(sections), pick(keys), std::to_string(random() % 100)});
        std::vector<IniValue> values;
        for (size_t i = 0; i < owned.size(); i += 3) values.push_back({owned[i], owned[i + 1], owned[i + 2]});

        TempFolder::Write(batchFile, text);
        TempFolder::Write(singleFile, text);
        WriteINIValues(batchFile, values);
        for (const IniValue& value : values) WriteINIValue(value.Section, value.Key, value.Value, singleFile);
        ASSERT_EQ(TempFolder::Read(batchFile), TempFolder::Read(singleFile)) << "round " << round << ": " << text;
    }
}

TEST(IniFile, BinaryOrFolderFilesNeverBreakAndUnusableWritesRaise) {
    TempFolder folder;
    const std::string file = folder.Path("garbage.rpp");
    std::mt19937 random(7);
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes.push_back(static_cast<char>(random() % 256));
    const char tail[] = "\n[Wave]\nCount=1\0" "2\n";
    bytes += std::string(tail, sizeof tail - 1);
    TempFolder::Write(file, bytes);
    EXPECT_EQ(ReadINIValue("Wave", "Count", "6", file), "1");
    WriteINIValue("Wave", "Count", "8", file);
    EXPECT_EQ(ReadINIValue("Wave", "Count", "6", file), "8");
    EXPECT_EQ(TempFolder::Read(file).substr(0, 1000), bytes.substr(0, 1000));

    EXPECT_EQ(ReadINIValue("Wave", "Count", "6", folder.Path("")), "6");
    EXPECT_THROW(WriteINIValue("Wave", "Count", "8", folder.Path("")), IniWriteError);
    EXPECT_THROW(WriteINIValue("Wave", "Count", "8", folder.Path("no such folder/x.rpp")), IniWriteError);
    EXPECT_THROW(WriteINIValue("Wave", "Count", "8\r\n[Evil]", file), IniWriteError);
    EXPECT_THROW(WriteINIValue("Wa]ve", "Count", "8", file), IniWriteError);
    EXPECT_THROW(WriteINIValue("Wave", "Co=unt", "8", file), IniWriteError);
}

// A write that the system cuts short (a file size limit stands in for a full disk) leaves the
// profile as it was and nothing beside it.
TEST(IniFile, AWriteCutShortLeavesTheOldProfileWhole) {
    TempFolder folder;
    const std::string file = folder.Path("profile.ini");
    const std::string old = "[Wave]\r\nAmp=3\r\n;" + std::string(4000, '~') + "\r\n";
    TempFolder::Write(file, old);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool refused = false;
    try {
        WriteINIValue("Wave", "Amp", "4", file);
    } catch (const IniWriteError&) {
        refused = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(refused);
    EXPECT_EQ(TempFolder::Read(file), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path("")), {}), 1);
    WriteINIValue("Wave", "Amp", "4", file);
    EXPECT_EQ(ReadINIValue("Wave", "Amp", "", file), "4");
}

TEST(IniFile, UnicodeFilesAndNamesWork) {
    TempFolder folder;
    TempFolder::MakeFolder(folder.Path("Bilder f\xC3\xBCr Oma"));
    const std::string file = folder.Path("Bilder f\xC3\xBCr Oma/Strand.rpp");
    WriteINIValue("Path", "Points", "5,6", file);
    EXPECT_TRUE(CheckFileExistance(file));
    EXPECT_EQ(ReadINIValue("Path", "Points", "", file), "5,6");

    // A profile saved as UTF-16 with a byte-order mark reads and stays UTF-16.
    const std::string utf16 = folder.Path("utf16.rpp");
    std::string bytes = "\xFF\xFE";
    for (char c : std::string("[Wave]\r\nCount=12\r\n")) bytes += std::string{c, '\0'};
    TempFolder::Write(utf16, bytes);
    EXPECT_EQ(ReadINIValue("Wave", "Count", "", utf16), "12");
    WriteINIValue("Wave", "Amp", "\xC3\xA9", utf16);  // é
    EXPECT_EQ(ReadINIValue("Wave", "Amp", "", utf16), "\xC3\xA9");
    EXPECT_EQ(TempFolder::Read(utf16).substr(0, bytes.size()), bytes);
    EXPECT_EQ(TempFolder::Read(utf16).substr(bytes.size()), std::string("A\0m\0p\0=\0\xE9\0\r\0\n\0", 14));

    EXPECT_FALSE(CheckFileExistance(folder.Path("missing.rpp")));
    EXPECT_FALSE(CheckFileExistance(""));
    EXPECT_TRUE(CheckFileExistance(folder.Path("Bilder f\xC3\xBCr Oma")));
}

}  // namespace
}  // namespace lurvane
