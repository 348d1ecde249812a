#include "viewer/layout/DocumentHost.h"

#include <chrono>

#include "platform/Ui.h"

namespace quillet {

void DocumentHost::ShowProcessError(const std::string&) {}

std::unique_ptr<Timer> DocumentHost::MakeAnimationTimer() { return std::make_unique<ManualTimer>(); }

int64_t DocumentHost::AnimationTime() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void DocumentHost::RepaintAnimation(const Rect&) {}

void DocumentHost::BackgroundChanged(TSectionList&) {}

FormHost* DocumentHost::FormsHost() { return nullptr; }

const TImageRequest& DocumentHost::ImageSource() {
  static const TImageRequest none;
  return none;
}

FileSystem* DocumentHost::PictureFiles() { return nullptr; }

std::optional<std::string> DocumentHost::PictureFileName(const std::string&) { return std::nullopt; }

bool DocumentHost::TakesScripts() { return false; }

void DocumentHost::RunScript(const std::string&, std::string) {}

void DocumentCallbacks::ShowProcessError(const std::string& text) {
  if (Messages) Messages->ShowMessage(text);
}

std::unique_ptr<Timer> DocumentCallbacks::MakeAnimationTimer() {
  return AnimationTimer ? std::move(AnimationTimer) : DocumentHost::MakeAnimationTimer();
}

int64_t DocumentCallbacks::AnimationTime() {
  return AnimationClock ? AnimationClock() : DocumentHost::AnimationTime();
}

void DocumentCallbacks::RepaintAnimation(const Rect& area) {
  if (OnAnimationRepaint) OnAnimationRepaint(area);
}

void DocumentCallbacks::BackgroundChanged(TSectionList& doc) {
  if (OnBackgroundChange) OnBackgroundChange(doc);
}

std::optional<std::string> DocumentCallbacks::PictureFileName(const std::string& source) {
  if (!ExpandImageName) return std::nullopt;
  return ExpandImageName(source);
}

void DocumentCallbacks::RunScript(const std::string& language, std::string text) {
  if (ScriptEvent) ScriptEvent(language, std::move(text));
}

}  // namespace quillet
