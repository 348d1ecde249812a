#pragma once
// The Ui test double: answers come from a script, everything shown is recorded.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/Ui.h"

namespace quillet::test {

class ScriptedUi : public Ui {
 public:
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  void ShowMessageBox(const std::string& text, const std::string& title) override {
    Messages.push_back(text);
    TitledMessages.push_back({title, text});
  }
  Answer Ask(const std::string& text) override {
    Questions.push_back(text);
    return NextAnswer();
  }
  Answer AskOrCancel(const std::string& text, const std::string& title) override {
    Questions.push_back(text);
    QuestionTitles.push_back(title);
    return NextAnswer();
  }
  std::string AskText(const std::string& caption, const std::string& prompt,
                      const std::string& initial) override {
    Questions.push_back(caption + ": " + prompt);
    if (Texts.empty()) return initial.empty() ? std::string() : initial;
    std::string t = Texts.front();
    Texts.pop_front();
    return t;
  }
  void ShowError(const std::string& text) override { Errors.push_back(text); }
  void BeginBusy() override { ++BusyDepth, ++BusyCount; }
  void EndBusy() override { --BusyDepth; }

  std::deque<Answer> Answers;     // the questions take these in turn, then No
  std::deque<std::string> Texts;  // AskText() takes these in turn
  std::vector<std::string> Messages, Questions, Errors;
  std::vector<std::string> QuestionTitles;  // of the questions with Cancel, also in Questions
  std::vector<std::pair<std::string, std::string>> TitledMessages;  // (title, text), also in Messages
  int BusyDepth = 0;
  int BusyCount = 0;

 private:
  Answer NextAnswer() {
    if (Answers.empty()) return Answer::No;
    const Answer a = Answers.front();
    Answers.pop_front();
    return a;
  }
};

}  // namespace quillet::test
