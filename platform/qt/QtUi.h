#pragma once
// The window mode's user interaction: Qt message boxes and the busy cursor.
#include <functional>
#include <string>

#include "platform/Ui.h"

namespace quillet {

class QtUi : public Ui {
 public:
  // The input box is a window of the application; it is handed in.
  using TextAsker = std::function<std::string(const std::string& caption, const std::string& prompt,
                                              const std::string& initial)>;
  explicit QtUi(TextAsker asker, std::string title = "Quillet")
      : asker_(std::move(asker)), title_(std::move(title)) {}

  void ShowMessage(const std::string& text) override;
  void ShowMessageBox(const std::string& text, const std::string& title) override;
  // "Confirm", question icon, Yes and No. Closing the box with its title-bar
  // button or Escape answers Dismissed.
  Answer Ask(const std::string& text) override;
  // The same box under its own title, with Cancel besides Yes and No.
  Answer AskOrCancel(const std::string& text, const std::string& title) override;
  std::string AskText(const std::string& caption, const std::string& prompt,
                      const std::string& initial) override;
  // Error icon, the application's title, the failure's text.
  void ShowError(const std::string& text) override;
  void BeginBusy() override;
  void EndBusy() override;

 private:
  TextAsker asker_;
  std::string title_;
};

// The error box's text: a period is added when the text ends in a character
// whose code is above that of the period.
std::string ErrorBoxText(std::string text);

}  // namespace quillet
