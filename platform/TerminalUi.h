#pragma once
// The batch's user interaction: messages go to stderr, questions are read
// from stdin. A script never hangs: at the end of input the safe answer (No,
// or empty text) is taken and said.
#include <cstdio>
#include <istream>
#include <ostream>

#include "platform/Ui.h"

namespace quillet {

class TerminalUi : public Ui {
 public:
  TerminalUi(std::istream& in, std::ostream& err) : in_(in), err_(err) {}
  void ShowMessage(const std::string& text) override;
  void ShowMessageBox(const std::string& text, const std::string& title) override;
  Answer Ask(const std::string& text) override;
  std::string AskText(const std::string& caption, const std::string& prompt,
                      const std::string& initial) override;
  void ShowError(const std::string& text) override;
  void BeginBusy() override {}
  void EndBusy() override {}

 private:
  bool ReadLine(std::string& line);
  std::istream& in_;
  std::ostream& err_;
};

}  // namespace quillet
