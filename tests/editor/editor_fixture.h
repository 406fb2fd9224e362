// EditorTest: an editor control with scripted keys and dialogs.

#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "editor/casa.h"
#include "editor/messages.h"
#include "files/settings.h"

namespace casavo::testing {

// Shift and Ctrl as the test holds them.
class ScriptedKeys : public KeyState {
 public:
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool ShiftHeld() const override { return shift; }
  bool CtrlHeld() const override { return ctrl; }
  bool AltHeld() const override { return alt; }
};

// Answers questions from a queue and remembers them; an unexpected question
// fails the test and is answered No.
class ScriptedDialogs : public EditorDialogs {
 public:
  std::deque<bool> answers;
  std::vector<QString> asked;
  bool AskYesNo(const QString& text) override {
    asked.push_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// An 800 x 600 editor at 10 mm per pixel with the plan origin at the top
// left, so that pixel (x, y) is plan point (10x, 10y) until a clean-up moves
// the origin. The application folder is a fresh temporary one.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Messages::Init();
    ASSERT_TRUE(folder.isValid());
    SetAppFolder(folder.path().toStdString() + "/");
    casa = std::make_unique<TCasa>();
    auto keyState = std::make_unique<ScriptedKeys>();
    keys = keyState.get();
    casa->SetKeyState(std::move(keyState));
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    casa->SetDialogs(std::move(scripted));
    plan().zx = plan().zy = 0.1;
    plan().OnSelectionChange = [this](void*) { ++selectionChanges; };
    plan().OnMessage = [this](const std::string& text) { messages.push_back(text); };
    casa->resize(800, 600);
    casa->show();
  }

  void TearDown() override {
    casa.reset();
    SetAppFolder("");
  }

  TCasaPlan& plan() { return *casa->Plan; }

  void Send(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, casa->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(casa.get(), &event);
  }
  void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseButtonPress, x, y, button, button);
  }
  // A move with the button held, as during a drag.
  void Drag(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseMove, x, y, Qt::NoButton, button);
  }
  void Hover(int x, int y) { Send(QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton); }
  void Release(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseButtonRelease, x, y, button, Qt::NoButton);
  }
  // Press, drag in a few steps, release.
  void DragFromTo(int x1, int y1, int x2, int y2) {
    Press(x1, y1);
    for (int step = 1; step <= 4; ++step)
      Drag(x1 + (x2 - x1) * step / 4, y1 + (y2 - y1) * step / 4);
    Release(x2, y2);
  }
  void DrawWallGesture(int x1, int y1, int x2, int y2) {
    casa->Mode = TCasa::ModeDrawWall;
    DragFromTo(x1, y1, x2, y2);
  }

  // The screen position of a corner.
  TPoint Screen(int32_t corner) { return plan().PlanToScreen(plan().Corners[corner]); }
  std::string LastMessage() const { return messages.empty() ? std::string() : messages.back(); }

  QTemporaryDir folder;
  std::unique_ptr<TCasa> casa;
  ScriptedKeys* keys = nullptr;
  ScriptedDialogs* dialogs = nullptr;
  int selectionChanges = 0;
  std::vector<std::string> messages;
};

}  // namespace casavo::testing
