#pragma once
// A shown ThtmlPane on the offscreen platform with the real fonts, the
// scripted Ui and the local file system, and the mouse as the user moves
// it over the paint panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/PaneProbe.h"
#include "tests/support/qt/WidgetApp.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet::test {

// A pane that notes what it paints.
class RecordingPane : public ThtmlPane {
 public:
  using ThtmlPane::ThtmlPane;
  std::vector<QRect> Painted;

 protected:
  void PaintDocument(const QRect& exposed) override {
    Painted.push_back(exposed);
    ThtmlPane::PaintDocument(exposed);
  }
};

class PaneTest : public ::testing::Test {
 protected:
  QApplication& App = WidgetApp();
  ScriptedUi Ui;
  PosixFileSystem Fs;
  TempDir Dir;
  std::unique_ptr<ThtmlPane> Pane = std::make_unique<ThtmlPane>(nullptr, &Ui, &Fs);
  std::vector<std::string> Lines;

  void SetUp() override {
    Pane->resize(320, 200);
    Pane->show();
  }
  ThtmlPane& P() { return *Pane; }
  QWidget* Panel() { return Pane->viewport(); }
  void Load(std::vector<std::string> lines) {
    Lines = std::move(lines);
    Pane->LoadStrings(Lines);
  }
  // Lines of text, tall enough to scroll: "Line 0" to "Line n-1".
  static std::vector<std::string> ManyLines(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) lines.push_back("Line " + std::to_string(i) + "<br>");
    return lines;
  }

  // The mouse moving over the panel, with the buttons held.
  void Move(QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent e(QEvent::MouseMove, at, Panel()->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(Panel(), &e);
  }
  void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mousePress(Panel(), button, {}, at); }
  void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(Panel(), button, {}, at);
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Move(at);
    QTest::mouseClick(Panel(), button, {}, at);
  }
  // As the system sends a double click: a click, the double click, and its
  // release.
  void DoubleClick(QPoint at) {
    Click(at);
    QTest::mouseDClick(Panel(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(Panel(), Qt::LeftButton, {}, at);
  }
  // Presses at from, drags to to and lets go there.
  void Drag(QPoint from, QPoint to) {
    Move(from);
    Press(from);
    Move((from + to) / 2, Qt::LeftButton);
    Move(to, Qt::LeftButton);
    Release(to);
  }
  QPoint At(const std::string& text) { return PanelPointOf(*Pane, text); }
};

}  // namespace quillet::test
