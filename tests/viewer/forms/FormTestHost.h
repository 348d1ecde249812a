#pragma once
// A document stand-in for the form tests: scripted controls, and a record of
// the submissions, object clicks and focus changes the forms report.
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "viewer/forms/Forms.h"
#include "viewer/forms/ScriptedFormWidgets.h"
#include "viewer/text/AttributeReader.h"

namespace quillet::test {

struct RecordingFormHost : FormHost {
  ScriptedFormWidgets Controls;
  std::u16string PreFont = u"Courier New";
  bool HasHandler = true;
  std::vector<TFormSubmission> Submitted;
  // "click <name> <onclick>", "enter <name>", "exit <name>".
  std::vector<std::string> Events;
  // Runs inside ObjectClick, after it is recorded.
  std::function<void()> DuringObjectClick;

  FormWidgetFactory& Widgets() override { return Controls; }
  std::u16string PreFontName() const override { return PreFont; }
  bool HasSubmitHandler() const override { return HasHandler; }
  void SubmitForm(TFormSubmission submission) override { Submitted.push_back(std::move(submission)); }
  void ObjectClick(TFormControlObj& control, const std::u16string& onClick) override {
    Events.push_back("click " + Utf8(control.Name) + " " + Utf8(onClick));
    if (DuringObjectClick) DuringObjectClick();
  }
  void ControlEntered(TFormControlObj& control) override { Events.push_back("enter " + Utf8(control.Name)); }
  void ControlExited(TFormControlObj& control) override { Events.push_back("exit " + Utf8(control.Name)); }

  static std::string Utf8(const std::u16string& s) { return ToUtf8(s); }
};

// A tag's attributes from names and values, each with the number the
// reader gives its value.
inline TAttributeList Attrs(std::initializer_list<std::pair<Sy, std::u16string>> items) {
  TAttributeList list;
  for (const auto& [code, text] : items) list.Add({code, DecimalOrZero(text), text});
  return list;
}

}  // namespace quillet::test
