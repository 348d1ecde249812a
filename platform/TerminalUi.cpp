#include "platform/TerminalUi.h"

#include <string>

namespace quillet {

bool TerminalUi::ReadLine(std::string& line) {
  if (!std::getline(in_, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void TerminalUi::ShowMessage(const std::string& text) { err_ << "quillet: " << text << std::endl; }

void TerminalUi::ShowMessageBox(const std::string& text, const std::string& title) {
  err_ << "quillet: " << title << ": " << text << std::endl;
}

void TerminalUi::ShowError(const std::string& text) { err_ << "quillet: error: " << text << std::endl; }

Answer TerminalUi::Ask(const std::string& text) {
  for (;;) {
    err_ << text << " [y/n] " << std::flush;
    std::string line;
    if (!ReadLine(line)) {
      err_ << "no (end of input)" << std::endl;
      return Answer::No;
    }
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    const char c = line[first];
    if (c == 'y' || c == 'Y') return Answer::Yes;
    if (c == 'n' || c == 'N') return Answer::No;
  }
}

std::string TerminalUi::AskText(const std::string& caption, const std::string& prompt,
                                const std::string& initial) {
  err_ << caption << ": " << prompt << ' ';
  if (!initial.empty()) err_ << '[' << initial << "] ";
  err_ << std::flush;
  std::string line;
  if (!ReadLine(line)) {
    err_ << "(end of input)" << std::endl;
    return std::string();
  }
  return line.empty() ? initial : line;
}

}  // namespace quillet
