#pragma once
// The fuzz targets' user interaction: shows nothing and gives one fixed
// answer to every question, empty text to every input box.
#include <string>

#include "platform/Ui.h"

namespace quillet::fuzz {

class SilentUi : public Ui {
 public:
  explicit SilentUi(Answer answer = Answer::No) : answer_(answer) {}
  void ShowMessage(const std::string&) override {}
  Answer Ask(const std::string&) override { return answer_; }
  std::string AskText(const std::string&, const std::string&, const std::string&) override { return {}; }
  void ShowError(const std::string&) override {}
  void BeginBusy() override { ++BusyDepth; }
  void EndBusy() override { --BusyDepth; }
  int BusyDepth = 0;

 private:
  Answer answer_;
};

}  // namespace quillet::fuzz
