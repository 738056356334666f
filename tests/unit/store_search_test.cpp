#include "control/store_search.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace vh::test {
namespace {

class StoreSearchTest : public ::testing::Test, public SearchView {
 protected:
  StoreSearchTest() {
    sys.files.AddDrive("C:");
    sys.files.AddDrive("D:");
    sys.files.AddDrive("N:", true);
  }
  void ShowSearching(const std::string& folder) override {
    shown.push_back(folder);
    if (stopAfter && static_cast<int>(shown.size()) >= stopAfter) stop = true;
  }
  bool StopRequested() override { return stop; }

  FakeSystem sys;
  std::vector<std::string> shown;
  int stopAfter = 0;
  bool stop = false;
  std::string found;
};

TEST_F(StoreSearchTest, FindsTheFirstStoreOfThisComputerAndUser) {
  sys.files.AddFolder("C:\\a\\$VH_BKS$\\PC1\\ann");       // another user
  sys.files.AddFolder("C:\\a\\$VH_BKS$\\PC2\\joe");       // another computer
  sys.files.AddFolder("C:\\a\\b\\$VH_BKS$\\PC1\\joe");
  sys.files.AddFolder("C:\\z\\$VH_BKS$\\PC1\\joe");
  EXPECT_TRUE(FindBackupStore("C:\\", found, *this));
  EXPECT_EQ(found, "C:\\a\\b");  // inside the other stores' folder, before C:\z
  EXPECT_TRUE(FindBackupStore("C:\\a\\b\\", found, *this));
  EXPECT_EQ(found, "C:\\a\\b\\");  // the selected folder as given
}

TEST_F(StoreSearchTest, DrivesAreSearchedFromZDownAndNetworkOnesOnlyForAllDrives) {
  sys.files.AddFolder("C:\\B\\$VH_BKS$\\PC1\\joe");
  sys.files.AddFolder("D:\\$VH_BKS$\\PC1\\joe");
  sys.files.AddFolder("N:\\x\\$VH_BKS$\\PC1\\joe");
  EXPECT_TRUE(SearchDrives(false, found, *this));
  EXPECT_EQ(found, "D:\\");
  EXPECT_TRUE(SearchDrives(true, found, *this));
  EXPECT_EQ(found, "N:\\x");
  sys.files.Unplug("N:");
  sys.files.Unplug("D:");
  EXPECT_TRUE(SearchDrives(true, found, *this));
  EXPECT_EQ(found, "C:\\B");
}

TEST_F(StoreSearchTest, StopEndsTheSearchAndLinksAreNotEntered) {
  sys.files.AddFolder("C:\\a\\b\\c");
  sys.files.AddFolder("C:\\z\\$VH_BKS$\\PC1\\joe");
  sys.files.AddLink("C:\\a\\loop");
  sys.files.AddFolder("C:\\a\\loop\\$VH_BKS$\\PC1\\joe");
  sys.files.Unplug("N:");
  sys.files.Unplug("D:");
  stopAfter = 2;
  found = "old";
  EXPECT_FALSE(SearchDrives(true, found, *this));
  EXPECT_EQ(found, "");
  EXPECT_EQ(shown, (std::vector<std::string>{"C:", "C:\\a"}));
  stopAfter = 0;
  stop = false;
  EXPECT_TRUE(FindBackupStore("C:", found, *this));
  EXPECT_EQ(found, "C:\\z");
}

}  // namespace
}  // namespace vh::test
