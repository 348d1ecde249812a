#pragma once
// The fixed addresses the program opens: the Help menu's web and e-mail
// commands and the About box. Kept here only, so that changing one is a
// one-line edit.
namespace quillet {

// "&Quillet Web Page" and the About box's logo.
inline constexpr const char* kProductPage = "https://quillet.example.org/";
// "Varnholt &Home Page" and the About box's maker icon.
inline constexpr const char* kMakerPage = "https://www.example.org/";
// "&E-mail Feedback": opened with the user's mail program.
inline constexpr const char* kFeedbackAddress = "mailto:quillet-feedback@example.org";

}  // namespace quillet
