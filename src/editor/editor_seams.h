// Seams of the editor: modifier key state and its yes/no questions.

#pragma once

#include <QString>

class QWidget;

namespace casavo {

// The physical state of Shift and Ctrl at the moment of asking, which is what
// the gestures go by (not the modifiers an event carried when it was queued).
class KeyState {
 public:
  virtual ~KeyState() = default;
  virtual bool ShiftHeld() const = 0;
  virtual bool CtrlHeld() const = 0;
  // Alt turns magnetism and snapping off for the move.
  virtual bool AltHeld() const = 0;
};

// The questions the editor asks the user.
class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;
  // A modal Yes/No question; true for Yes.
  virtual bool AskYesNo(const QString& text) = 0;
};

// Asks the window system for the keyboard modifiers held right now.
class SystemKeyState final : public KeyState {
 public:
  bool ShiftHeld() const override;
  bool CtrlHeld() const override;
  bool AltHeld() const override;
};

// Modal information boxes with Yes and No over the owner widget.
class MessageBoxDialogs final : public EditorDialogs {
 public:
  explicit MessageBoxDialogs(QWidget* owner) : owner_(owner) {}
  bool AskYesNo(const QString& text) override;

 private:
  QWidget* owner_;
};

}  // namespace casavo
