// WindowTest: what the user answers and what the window showed.

#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <vector>

#include "editor/casa.h"
#include "files/settings.h"
#include "ui/aide.h"
#include "ui/error_box.h"
#include "ui/main_window.h"

namespace casavo {

// What the user answers and what the program showed, shared by the scripted
// dialogs of one test.
struct Script {
  bool yes = false;
  std::vector<QString> questions;
  std::optional<QColor> colour;
  int colourRequests = 0;
  bool tickTips = false;
  std::vector<QString> tips;
  std::vector<bool> tipBoxes;
  std::vector<QString> errors;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  // The close question: what is answered, and the names it was asked about.
  SaveChoice saveChoice = SaveChoice::Cancel;
  std::vector<QString> saveQuestions;
  // The file dialogs' answers (empty: cancelled) and the names they offered.
  QString openFile;
  QString saveFile;
  std::vector<QString> suggestedNames;
};

class ScriptedWindowDialogs : public WindowDialogs {
 public:
  explicit ScriptedWindowDialogs(Script& script) : script_(script) {}
  bool AskYesNo(const QString& text) override {
    script_.questions.push_back(text);
    return script_.yes;
  }
  std::optional<QColor> PickColour(const QColor&) override {
    ++script_.colourRequests;
    return script_.colour;
  }
  SaveChoice AskSaveChanges(const QString& name) override {
    script_.saveQuestions.push_back(name);
    return script_.saveChoice;
  }
  QString AskOpenFileName() override { return script_.openFile; }
  QString AskSaveFileName(const QString& suggested) override {
    script_.suggestedNames.push_back(suggested);
    return script_.saveFile;
  }
  void ShowError(const QString& text) override { script_.errors.push_back(text); }

 private:
  Script& script_;
};

class ScriptedEditorDialogs : public EditorDialogs {
 public:
  explicit ScriptedEditorDialogs(Script& script) : script_(script) {}
  bool AskYesNo(const QString& text) override {
    script_.questions.push_back(text);
    return script_.yes;
  }

 private:
  Script& script_;
};

class ScriptedKeys : public KeyState {
 public:
  explicit ScriptedKeys(Script& script) : script_(script) {}
  bool ShiftHeld() const override { return script_.shift; }
  bool CtrlHeld() const override { return script_.ctrl; }
  bool AltHeld() const override { return script_.alt; }

 private:
  Script& script_;
};

// Presses "OK" on every tip, ticking "Ne plus afficher" when told to.
class ScriptedTips : public MessageDialogPresenter {
 public:
  explicit ScriptedTips(Script& script) : script_(script) {}
  void Run(TfmAide& dialog) override;

 private:
  Script& script_;
};

// A main window in a temporary application folder, with every dialog scripted.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates and shows the window, with the online part when one is given; the
  // show handler runs before this returns.
  void Start(std::unique_ptr<OnlineService> online = nullptr);
  // Closes the window the normal way.
  void Stop() { form_.reset(); }

  TCasaPlan& Plan() { return *form_->Editor->Plan; }
  QString RecoveryFile() const { return home_.path() + "/Casavo/LastUndo.plan"; }
  // Selects an element the way the editor reports a selection.
  void Select(int32_t index, uint8_t kind);
  // Types text into a length field and presses Enter.
  static void Type(TUnitEdit* field, const QString& text);
  static void Click(QWidget* label) { QTest::mouseClick(label, Qt::LeftButton); }
  // A press, a drag through the midpoint and a release on the plan.
  void Drag(QPoint from, QPoint to);
  // "Tracer un mur", then the mouse from one pixel to another.
  void DrawWall(QPoint from, QPoint to);

  QTemporaryDir home_;
  Script script_;
  ScriptedTips tips_{script_};
  std::unique_ptr<TForm1> form_;
};

}  // namespace casavo
