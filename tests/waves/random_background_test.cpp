#include "waves/random_background.h"

#include "util/memory_file_system.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace lurvane {
namespace {

const std::string kDocuments = "C:\\Users\\Ann\\Documents";
const std::string kPictures = kDocuments + "\\Lurvane Pictures\\";

class RandomBackground : public ::testing::Test {
protected:
    RandomBackground() { fs.SetDocumentsFolder(kDocuments); }

    void AddPictures(std::initializer_list<const char*> names) {
        for (const char* name : names) fs.AddFile(kPictures + name);
    }
    std::string Pick(double time = 4321.5) { return PickRandomBackground("", true, fs, time); }

    MemoryFileSystem fs;
};

TEST_F(RandomBackground, ASetPictureOrRandomizeOffLeavesThePictureAlone) {
    AddPictures({"Beach.rpp", "Beach.jpg"});
    EXPECT_EQ(PickRandomBackground("D:\\mine.bmp", true, fs, 10.0), "D:\\mine.bmp");
    EXPECT_EQ(PickRandomBackground("", false, fs, 10.0), "");
    EXPECT_EQ(PickRandomBackground("D:\\mine.bmp", false, fs, 10.0), "D:\\mine.bmp");
    EXPECT_EQ(PicturesFolder(fs), kPictures);
}

TEST_F(RandomBackground, PictureOfTheProfileIsFoundWhateverTheCaseOfItsExtension) {
    AddPictures({"Beach.txt", "Beach.rpp", "Beach.JPG"});
    EXPECT_EQ(Pick(), kPictures + "Beach.JPG");
}

TEST_F(RandomBackground, OnlyPictureFilesCountAmongThemPngAndTiff) {
    AddPictures({"Beach.rpp", "Beach.webp", "Beach.jpeg2"});
    EXPECT_EQ(Pick(), "");
    fs.AddFile(kPictures + "Beach.Gif");
    EXPECT_EQ(Pick(), kPictures + "Beach.Gif");
    for (const char* name : {"Dune.png", "Dune.TIF", "Dune.tiff", "Dune.jpeg"}) {
        MemoryFileSystem other;
        other.SetDocumentsFolder(kDocuments);
        other.AddFile(kPictures + "Dune.rpp");
        other.AddFile(kPictures + name);
        EXPECT_EQ(PickRandomBackground("", true, other, 1.0), kPictures + name);
    }
}

TEST_F(RandomBackground, NoFolderOrNoProfileGivesTheEmptyText) {
    EXPECT_EQ(Pick(), "");
    AddPictures({"Beach.jpg", "Sea.bmp"});  // pictures without a profile are never chosen
    EXPECT_EQ(Pick(), "");
}

TEST_F(RandomBackground, EachProfileHasTheSameChance) {
    AddPictures({"A.rpp", "A.gif", "B.rpp", "B.bmp"});
    std::mt19937 clock(77);
    std::uniform_real_distribution<double> timeOfDay(0.0, 86400.0);
    int a = 0, b = 0;
    constexpr int kDraws = 2000;
    for (int i = 0; i < kDraws; ++i) {
        const std::string picture = Pick(timeOfDay(clock));
        if (picture == kPictures + "A.gif") ++a;
        else if (picture == kPictures + "B.bmp") ++b;
        else ADD_FAILURE() << picture;
    }
    EXPECT_NEAR(a, kDraws / 2, 120);  // more than five standard deviations
    EXPECT_EQ(a + b, kDraws);
}

TEST_F(RandomBackground, OnlyTheLastExtensionOfAProfileIsReplaced) {
    AddPictures({"Beach.old.rpp", "Beach.old.jpg"});
    EXPECT_EQ(Pick(), kPictures + "Beach.old.jpg");
}

TEST_F(RandomBackground, APictureOfAnotherProfileWithALongerNameIsNotTaken) {
    // "Beach.*" matches Beach.alt.jpg too, which the system lists first.
    AddPictures({"Beach.alt.jpg", "Beach.alt.rpp", "Beach.gif", "Beach.rpp"});
    int beach = 0;
    for (int i = 0; i < 200; ++i) {
        const std::string picture = Pick(i * 17.3);
        if (picture == kPictures + "Beach.gif") ++beach;
        else EXPECT_EQ(picture, kPictures + "Beach.alt.jpg");
    }
    EXPECT_GT(beach, 0);
    EXPECT_LT(beach, 200);
}

TEST(RandomBackgroundChoice, APictureNamedLikeTheProfileComesFirstAndAnyPictureOfItsPatternServesOtherwise) {
    struct Case {
        std::vector<std::string> Listed;  // in the order the system lists them
        std::string Expected;
    };
    for (const Case& c : std::vector<Case>{
             {{"Beach.alt.jpg", "Beach.rpp", "Beach.txt", "BEACH.Jpg"}, "BEACH.Jpg"},
             {{"Beach.alt.jpg", "Beach.rpp", "Beach.txt"}, "Beach.alt.jpg"},
             {{"Beach.rpp", "Beach.2010.webp", "Beach.2010.bmp", "Beach.2011.gif"}, "Beach.2010.bmp"},
             {{"Beach.rpp", "Beach.2010.jpg", "Beach"}, "Beach.2010.jpg"},
             {{"Beach.old.rpp", "Beach.old.x.gif", "Beach.old.JPG"}, "Beach.old.JPG"},
         }) {
        MemoryFileSystem fs;
        fs.SetDocumentsFolder(kDocuments);
        for (const std::string& name : c.Listed) fs.AddFile(kPictures + name);
        EXPECT_EQ(PickRandomBackground("", true, fs, 4321.5), kPictures + c.Expected) << c.Expected;
    }
}

TEST_F(RandomBackground, FoldersNamedLikeProfilesOrPicturesAreIgnored) {
    fs.AddFolder(kPictures + "Beach.jpg");
    fs.AddFolder(kPictures + "Old.rpp");
    AddPictures({"Beach.rpp", "Beach.bmp"});
    for (int i = 0; i < 50; ++i) EXPECT_EQ(Pick(i * 3.7), kPictures + "Beach.bmp");
}

TEST_F(RandomBackground, AMissingDocumentsFolderLeavesTheFolderBelowTheDriveRoot) {
    fs.SetDocumentsFolder("");
    fs.AddFile("\\Lurvane Pictures\\Beach.rpp");
    fs.AddFile("\\Lurvane Pictures\\Beach.jpg");
    EXPECT_EQ(Pick(), "\\Lurvane Pictures\\Beach.jpg");
}

TEST_F(RandomBackground, NonAsciiFoldersAndNamesSurviveTheChoice) {
    const std::string documents = "C:\\Users\\Jörg\\Bilder für Oma";
    const std::string pictures = documents + "\\Lurvane Pictures\\";
    fs.SetDocumentsFolder(documents);
    fs.AddFile(pictures + "Strand – Ærø.rpp");
    fs.AddFile(pictures + "Strand – Ærø.JPG");
    fs.AddFile(pictures + "日の出.rpp");
    fs.AddFile(pictures + "日の出.gif");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) seen.insert(Pick(1000.0 + i * 0.5));
    EXPECT_EQ(seen, (std::set<std::string>{pictures + "Strand – Ærø.JPG", pictures + "日の出.gif"}));
}

}  // namespace
}  // namespace lurvane
