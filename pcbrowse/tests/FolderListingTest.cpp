#include "TempFolder.h"

#include "pcbrowse/FolderListing.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using Names = std::vector<std::string>;

class FolderListingTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"sub10", "Sub2", "alpha", ".hidden"}) {
            std::filesystem::create_directory(temp.Path(folder));
        }
        for (const char* file : {"b.GSI", "a.gsi", "notes.txt", "c.gsi.bak", "README"}) {
            temp.WriteFile(file, "x");
        }
    }

    // The folder's path without a final "/".
    std::string Root() const { return std::filesystem::path(temp.Path("")).parent_path(); }
    void MakeLink(const std::string& target, const std::string& name) const {
        std::filesystem::create_symlink(temp.Path(target), temp.Path(name));
    }

    TempFolder temp;
};

TEST_F(FolderListingTest, FoldersAreNeverFilteredFilesAreMatchedWithoutCase) {
    const FolderListing listing = FolderListing::Read(Root(), NameFilter("*.GSI"));
    ASSERT_TRUE(listing.readable);
    EXPECT_EQ(listing.folders, (Names{".hidden", "alpha", "Sub2", "sub10"}));
    EXPECT_EQ(listing.files, (Names{"a.gsi", "b.GSI"}));
}

TEST_F(FolderListingTest, AllFilesWithTheDefaultPatternAndAFinalSlashIsAccepted) {
    const FolderListing listing = FolderListing::Read(temp.Path(""), NameFilter());
    ASSERT_TRUE(listing.readable);
    EXPECT_EQ(listing.files, (Names{"a.gsi", "b.GSI", "c.gsi.bak", "notes.txt", "README"}));
}

TEST_F(FolderListingTest, LinksCountAsWhatTheyPointTo) {
    MakeLink("alpha", "to-alpha");
    MakeLink("a.gsi", "to-a.gsi");
    MakeLink("missing", "broken.gsi");
    const FolderListing listing = FolderListing::Read(Root(), NameFilter("*.gsi"));
    EXPECT_EQ(listing.folders, (Names{".hidden", "alpha", "Sub2", "sub10", "to-alpha"}));
    EXPECT_EQ(listing.files, (Names{"a.gsi", "b.GSI", "broken.gsi", "to-a.gsi"}));
}

TEST_F(FolderListingTest, AFolderThatCannotBeOpenedSaysWhy) {
    const FolderListing missing = FolderListing::Read(temp.Path("nothing"), NameFilter());
    EXPECT_FALSE(missing.readable);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_TRUE(missing.folders.empty() && missing.files.empty());

    const FolderListing file = FolderListing::Read(temp.Path("a.gsi"), NameFilter());
    EXPECT_FALSE(file.readable);
    EXPECT_EQ(file.error, ENOTDIR);
}

TEST(FolderListingEmptyTest, AnEmptyFolderIsReadableAndHoldsNothing) {
    TempFolder temp;
    const FolderListing listing = FolderListing::Read(temp.Path(""), NameFilter());
    EXPECT_TRUE(listing.readable);
    EXPECT_EQ(listing.error, 0);
    EXPECT_TRUE(listing.folders.empty() && listing.files.empty());
}
