#include "util/file_functions.h"
#include "util/memory_file_system.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace lurvane {
namespace {

using Names = std::vector<std::string>;

TEST(FileFunctions, ExtensionIsWhatFollowsTheLastDotAfterTheLastBackslash) {
    EXPECT_EQ(FindExtensionDot("C:\\pics\\photo.JPG"), 14);
    EXPECT_EQ(GetExtension("C:\\pics\\photo.JPG"), "JPG");
    EXPECT_EQ(FindExtensionDot("C:\\pics.old\\photo"), -1);
    EXPECT_EQ(GetExtension("C:\\pics.old\\photo"), "");
    EXPECT_EQ(FindExtensionDot("photo"), -1);
    EXPECT_EQ(FindExtensionDot("a.b.c"), 4);
    EXPECT_EQ(GetExtension("a.b.c"), "c");
    EXPECT_EQ(GetExtension("C:\\pics\\photo."), "");
    EXPECT_EQ(FindExtensionDot("C:\\pics\\photo."), 14);
    EXPECT_EQ(GetExtension("C:\\pics\\.hidden"), "hidden");
    EXPECT_EQ(GetExtension(""), "");
    EXPECT_EQ(GetExtension("C:\\Bilder für Oma\\Strand.jpeg"), "jpeg");
}

TEST(FileFunctions, ChangeExtensionReplacesOnlyTheLastExtension) {
    EXPECT_EQ(ChangeExtension("a.b.c", "*"), "a.b.*");
    EXPECT_EQ(ChangeExtension("Beach", "*"), "Beach.*");
    EXPECT_EQ(ChangeExtension("C:\\pics.old\\photo", "rpp"), "C:\\pics.old\\photo.rpp");
    EXPECT_EQ(ChangeExtension("C:\\Bilder für Oma\\Ærø.gif", "rpp"), "C:\\Bilder für Oma\\Ærø.rpp");
    EXPECT_EQ(ChangeExtension("", "rpp"), ".rpp");
}

TEST(FileFunctions, ProfilePathOfAPictureHasTheExtensionRpp) {
    EXPECT_EQ(GetProfilePath("C:\\pics\\photo.jpg"), "C:\\pics\\photo.rpp");
    EXPECT_EQ(GetProfilePath("C:\\pics\\photo"), "C:\\pics\\photo.rpp");
    EXPECT_EQ(GetProfilePath("C:\\pics\\photo."), "C:\\pics\\photo.rpp");
}

TEST(FileFunctions, ListFilesMarksFoldersSkipsDotEntriesAndKeepsSystemOrder) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\p\\x.rpp");
    fs.AddFolder("C:\\p\\old");
    fs.AddFile("C:\\p\\a.jpg");
    EXPECT_EQ(ListFiles(fs, "C:\\p\\", "*"), (Names{"x.rpp", ".old", "a.jpg"}));
    EXPECT_EQ(ListFiles(fs, "C:\\p\\", "*.rpp"), (Names{"x.rpp"}));
    EXPECT_EQ(ListFiles(fs, "C:\\p\\", "*.bmp"), Names{});
    EXPECT_EQ(ListFiles(fs, "C:\\missing\\", "*"), Names{});
    // The fake reports "." and ".." like Windows does, so the skip above is real.
    EXPECT_EQ(fs.FindEntries("C:\\p\\", "*").size(), 5u);
}

TEST(FileFunctions, ListFilesCutsANameAtItsFirstNul) {
    MemoryFileSystem fs;
    fs.AddFile(std::string_view("C:\\p\\x.rpp\0old", 14));
    EXPECT_EQ(ListFiles(fs, "C:\\p\\", "*"), (Names{"x.rpp"}));
}

TEST(FileFunctions, PickRandomFileReturnsAListedNameOrTheEmptyText) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\empty");
    EXPECT_EQ(PickRandomFile(fs, "C:\\empty\\", "*.rpp", 100.0), "");
    EXPECT_EQ(PickRandomFile(fs, "C:\\missing\\", "*.rpp", 100.0), "");

    fs.AddFile("C:\\p\\only.rpp");
    fs.AddFile("C:\\p\\only.jpg");
    EXPECT_EQ(PickRandomFile(fs, "C:\\p\\", "*.rpp", 12345.67), "only.rpp");
}

TEST(FileFunctions, PickRandomFileGivesEveryEntryTheSameChanceAndRepeatsForTheSameTime) {
    MemoryFileSystem fs;
    for (const char* name : {"a.rpp", "b.rpp", "c.rpp"}) fs.AddFile(std::string("C:\\p\\") + name);

    std::mt19937 clock(20240607);
    std::uniform_real_distribution<double> timeOfDay(0.0, 86400.0);
    std::map<std::string, int> counts;
    constexpr int kDraws = 3000;
    for (int i = 0; i < kDraws; ++i) ++counts[PickRandomFile(fs, "C:\\p\\", "*", timeOfDay(clock))];
    ASSERT_EQ(counts.size(), 3u);
    for (const auto& [name, count] : counts) EXPECT_NEAR(count, kDraws / 3, 150) << name;

    // Seeded afresh from the time of every call: the same reading gives the same pick.
    EXPECT_EQ(PickRandomFile(fs, "C:\\p\\", "*", 5000.25), PickRandomFile(fs, "C:\\p\\", "*", 5000.25));
}

TEST(FileFunctions, RandomEntryIndexStaysInsideTheList) {
    for (double time : {0.0, 0.01, 43200.5, 86399.99, -1.0, 1e30})
        for (std::size_t count : {1u, 2u, 7u, 1000u}) EXPECT_LT(RandomEntryIndex(count, time), count) << time;
    EXPECT_EQ(RandomEntryIndex(0, 10.0), 0u);
}

TEST(FileFunctions, DocumentsFolderComesWithoutTrailingBackslash) {
    MemoryFileSystem fs;
    fs.SetDocumentsFolder("C:\\Users\\Jörg\\Dokumente");
    EXPECT_EQ(GetDocumentsFolder(fs), "C:\\Users\\Jörg\\Dokumente");
    fs.SetDocumentsFolder("D:\\");
    EXPECT_EQ(GetDocumentsFolder(fs), "D:");
    fs.SetDocumentsFolder("");
    EXPECT_EQ(GetDocumentsFolder(fs), "");
}

TEST(MemoryFileSystem, WildcardsMatchLikeWindowsIgnoringCase) {
    EXPECT_TRUE(MatchesWildcard("Beach.RPP", "*.rpp"));
    EXPECT_FALSE(MatchesWildcard("Beach.rppx", "*.rpp"));
    EXPECT_FALSE(MatchesWildcard("Beachrpp", "*.rpp"));
    EXPECT_TRUE(MatchesWildcard("Beach.JPG", "beach.*"));
    EXPECT_TRUE(MatchesWildcard("Beach.old.jpg", "Beach.*"));
    EXPECT_TRUE(MatchesWildcard("Beach", "Beach.*"));
    EXPECT_FALSE(MatchesWildcard("Beaches.jpg", "Beach.*"));
    EXPECT_TRUE(MatchesWildcard("abc", "a?c"));
    EXPECT_FALSE(MatchesWildcard("abbc", "a?c"));
    EXPECT_TRUE(MatchesWildcard("für.jpg", "f?r.jpg")) << "? is one character, not one byte";
    EXPECT_TRUE(MatchesWildcard("ÄPFEL.JPG", "äpfel.*"));
    EXPECT_TRUE(MatchesWildcard(".", "*"));
    EXPECT_TRUE(MatchesWildcard("x", "*.*"));
    EXPECT_FALSE(MatchesWildcard("x.jpg", ""));
}

TEST(MemoryFileSystem, FoldersAreFoundWhateverTheCase) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\Bilder für Oma\\Strand.jpg");
    fs.AddFile("c:\\BILDER FÜR OMA\\strand.JPG");  // the same file: not listed twice
    EXPECT_EQ(ListFiles(fs, "c:\\bilder für oma\\", "*"), (Names{"Strand.jpg"}));
    EXPECT_EQ(ListFiles(fs, "C:\\", "*"), (Names{".Bilder für Oma"})) << "a drive root has no dot entries";
}

}  // namespace
}  // namespace lurvane
