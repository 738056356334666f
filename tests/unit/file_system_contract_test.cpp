// The fake file system held to what the real one does.
#include "fake_file_system.h"
#include "file_system_contract.h"

namespace vh::test {
namespace {

struct FakeBackend {
  FakeBackend() {
    fs.AddDrive("C:");
    fs.AddFolder(root);
    fs.AddDrive(plugDrive);
    fs.Unplug(plugDrive);
    fs.AddDrive("S:");
    fs.AddFolder(smallFolder);
    fs.DiskFullAfter("S:", 1 << 20);
    // As the platform's moves, which end only when their outcome is asked for.
    fs.deferMoves = true;
  }
  // The fake's own setters cannot fail.
  bool SetLastWrite(const std::string& path, int64_t time) {
    fs.SetLastWrite(path, time);
    return true;
  }
  bool MakeSized(const std::string& path, uint64_t size) {
    fs.AddFile(path);
    fs.SetSize(path, size);
    return true;
  }
  bool Plug() {
    fs.Plug(plugDrive);
    return true;
  }
  bool Unplug() {
    fs.Unplug(plugDrive);
    return true;
  }

  FakeFileSystem fs;
  const std::string root = "C:\\contract";
  const std::string plugDrive = "X:";
  const std::string smallFolder = "S:\\contract";
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, FileSystemContract, FakeBackend);

}  // namespace
}  // namespace vh::test
