#pragma once
// What every operation test needs: the fake system, a log on a fake page, a progress view and
// the boxes the operations ask through.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fake_message_boxes.h"
#include "fake_progress_view.h"
#include "fake_system.h"
#include "log/message_log.h"

namespace vh::test {

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() {
    sys.files.AddDrive("C:");
    sys.files.AddDrive("E:");
    sys.files.beforeCall = [this](const std::string& call, const std::string& path) {
      ++calls[call];
      if (onCall) onCall(call, path);
    };
  }
  // The log's lines without the stamp of headings and the TABs of detail lines.
  std::vector<std::string> LogTexts() const {
    std::vector<std::string> texts;
    for (const std::string& line : page.lines) {
      if (line.rfind("\t\t", 0) == 0) texts.push_back(line.substr(2));
      else if (!line.empty()) texts.push_back("# " + line.substr(line.find("  ") + 2));
    }
    return texts;
  }

  FakeSystem sys;
  FakeTextPage page;
  TMessageLog log{page};
  FakeProgressView view;
  // The boxes the operations are given; the installed ones take no questions from them.
  FakeMessageBoxes boxes;
  std::map<std::string, int> calls;  // file system calls by name
  std::function<void(const std::string& call, const std::string& path)> onCall;
  const std::string store = "E:\\B\\$VH_BKS$\\PC1\\joe";
};

using Lines = std::vector<std::string>;

}  // namespace vh::test
