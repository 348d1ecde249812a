#pragma once
// What a document asks of whoever shows it, in one place: where the
// failures of a layout go, the timer and clock animated pictures step on,
// repaints and background changes, the pane's side of the forms, where
// pictures come from, and the SCRIPT bodies. Every call has a headless
// answer here (nothing shown, no picture read, a timer that ticks only when
// told), which rendered pictures and fuzzing need and nothing more.
//
// The pane implements it (viewer/qt/HtmlPane.cpp). DocumentCallbacks hands
// each call to a function or object when one is set: every document owns
// one and uses it when given no host, so tests and quillet-render set only
// what they look at.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Canvas.h"
#include "platform/Timer.h"
#include "viewer/images/ImageCache.h"

namespace quillet {

class FileSystem;
class FormHost;
class TSectionList;
class Ui;

class DocumentHost {
 public:
  virtual ~DocumentHost() = default;

  // A block's layout failed with this message ("Table has too many
  // Columns"); the block is dropped.
  virtual void ShowProcessError(const std::string& text);
  // The timer animated pictures step on, made once with the document.
  virtual std::unique_ptr<Timer> MakeAnimationTimer();
  // The milliseconds animation steps are timed by: a steady clock.
  virtual int64_t AnimationTime();
  // An animation step changed this rectangle (document coordinates).
  virtual void RepaintAnimation(const Rect& area);
  // The document's background colour was set.
  virtual void BackgroundChanged(TSectionList& doc);
  // The pane's side of the forms: its controls, its submit and click
  // events, scrolling a control into view. None: in-memory controls,
  // nothing submitted.
  virtual FormHost* FormsHost();
  // Pictures from the host instead of files when this is set.
  virtual const TImageRequest& ImageSource();
  // Where picture files are read without an image source; none: no picture
  // file is read.
  virtual FileSystem* PictureFiles();
  // A picture's source made the file name to read, when there is no image
  // source (UTF-8 both ways); none: the source is the name.
  virtual std::optional<std::string> PictureFileName(const std::string& source);
  // Whether the host takes the SCRIPT bodies; the parser drops them if not.
  virtual bool TakesScripts();
  // A SCRIPT body: its LANGUAGE, and its text with CR LF line ends, UTF-8.
  virtual void RunScript(const std::string& language, std::string text);
};

using TScriptEvent = std::function<void(const std::string& language, std::string script)>;

// A host of functions and objects, each used when set; unset, the headless
// answer.
class DocumentCallbacks : public DocumentHost {
 public:
  Ui* Messages = nullptr;
  // Handed to the document that is made with this host (once).
  std::unique_ptr<Timer> AnimationTimer;
  std::function<int64_t()> AnimationClock;
  std::function<void(const Rect&)> OnAnimationRepaint;
  std::function<void(TSectionList&)> OnBackgroundChange;
  FormHost* Forms = nullptr;
  TImageRequest ImageRequest;
  FileSystem* Files = nullptr;
  std::function<std::string(const std::string& source)> ExpandImageName;
  TScriptEvent ScriptEvent;

  void ShowProcessError(const std::string& text) override;
  std::unique_ptr<Timer> MakeAnimationTimer() override;
  int64_t AnimationTime() override;
  void RepaintAnimation(const Rect& area) override;
  void BackgroundChanged(TSectionList& doc) override;
  FormHost* FormsHost() override { return Forms; }
  const TImageRequest& ImageSource() override { return ImageRequest; }
  FileSystem* PictureFiles() override { return Files; }
  std::optional<std::string> PictureFileName(const std::string& source) override;
  bool TakesScripts() override { return static_cast<bool>(ScriptEvent); }
  void RunScript(const std::string& language, std::string text) override;
};

}  // namespace quillet
