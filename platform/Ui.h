#pragma once
// The user-interaction port: message boxes, questions, the input box, the
// error box and the busy cursor.
#include <string>

namespace quillet {

// The answer to a Yes/No question. Dismissed: closed without choosing.
enum class Answer { Yes, No, Dismissed };

class Ui {
 public:
  virtual ~Ui() = default;
  // A plain box: no icon, the application's title, an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A plain box with its own title in place of the application's.
  virtual void ShowMessageBox(const std::string& text, const std::string& /*title*/) {
    ShowMessage(text);
  }
  // A question titled "Confirm" with a question icon and Yes and No.
  virtual Answer Ask(const std::string& text) = 0;
  // A question with Yes, No and Cancel under a title of its own. Cancel,
  // Escape and the title-bar button answer Dismissed: the user backs out.
  virtual Answer AskOrCancel(const std::string& text, const std::string& /*title*/) { return Ask(text); }
  // The one-line input box: the typed text after OK, empty text otherwise.
  virtual std::string AskText(const std::string& caption, const std::string& prompt,
                              const std::string& initial) = 0;
  // The error box for a failure no command handled.
  virtual void ShowError(const std::string& text) = 0;
  // The hourglass; calls nest.
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
};

// Shows the hourglass for the lifetime of the object, also when an error leaves early.
class BusyCursor {
 public:
  explicit BusyCursor(Ui& ui) : ui_(ui) { ui_.BeginBusy(); }
  ~BusyCursor() { ui_.EndBusy(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Ui& ui_;
};

}  // namespace quillet
