#include "viewer/qt/HtmlPaneForms.h"

#include <QMetaObject>

#include "platform/TextCodec.h"
#include "viewer/forms/FormControls.h"

namespace quillet {

ThtmlPane::PaneForms::PaneForms(ThtmlPane& pane) : pane_(pane), widgets_(*pane.viewport()) {}

FormHost& ThtmlPane::Forms() { return *formHost_; }

std::u16string ThtmlPane::PaneForms::PreFontName() const { return pane_.doc_.Fonts.PreFontName; }

bool ThtmlPane::PaneForms::HasSubmitHandler() const { return static_cast<bool>(pane_.OnFormSubmit); }

void ThtmlPane::PaneForms::SubmitForm(TFormSubmission submission) {
  // Posted: the control that submitted finishes its own click first, and
  // the handler may then load another document over it.
  ThtmlPane* pane = &pane_;
  QMetaObject::invokeMethod(
      pane,
      [pane, s = std::move(submission)] {
        if (!pane->OnFormSubmit) return;
        std::vector<std::string> results;
        results.reserve(s.Results.size());
        for (const auto& pair : s.Results) results.push_back(Utf16ToUtf8(pair));
        pane->Guarded([&] {
          pane->OnFormSubmit(Utf16ToUtf8(s.Action), Utf16ToUtf8(s.Target), Utf16ToUtf8(s.EncType),
                             Utf16ToUtf8(s.Method), results);
        });
      },
      Qt::QueuedConnection);
}

void ThtmlPane::PaneForms::ObjectClick(TFormControlObj& control, const std::u16string& onClick) {
  if (pane_.OnObjectClick) pane_.OnObjectClick(&control, Utf16ToUtf8(onClick));
}

void ThtmlPane::PaneForms::ControlEntered(TFormControlObj& control) {
  // The control the Tab key reached comes into the middle of the view
  // unless it is in view already; the document then shows or hides the
  // rest.
  const int top = control.YValue;
  const int position = pane_.Position();
  if (top >= position && top <= position + pane_.PanelHeight() - kInViewMargin) return;
  pane_.ScrollToY(top - pane_.PanelHeight() / 2);
}

// The document shows or hides its controls itself.
void ThtmlPane::PaneForms::ControlExited(TFormControlObj&) {}

}  // namespace quillet
