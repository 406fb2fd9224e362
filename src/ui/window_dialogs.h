// WindowDialogs: the seam to the main window's dialogs.

#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace casavo {

// The answers to « Enregistrer les modifications de « NOM » ? ».
enum class SaveChoice { Save, Discard, Cancel };

// The questions the main window asks the user. The program uses modal boxes;
// tests answer for the user.
class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // A Yes/No question with the information icon; true for Yes.
  virtual bool AskYesNo(const QString& text) = 0;
  // The colour dialog opened on initial; nothing when the user cancels.
  virtual std::optional<QColor> PickColour(const QColor& initial) = 0;
  // Whether to save the changes of the plan named name before they are lost.
  virtual SaveChoice AskSaveChanges(const QString& name) = 0;
  // The plan file to open, or to save to (starting from suggested); empty
  // when the user cancels.
  virtual QString AskOpenFileName() = 0;
  virtual QString AskSaveFileName(const QString& suggested) = 0;
  // A failure the user must read before going on.
  virtual void ShowError(const QString& text) = 0;
};

// Modal boxes and the system colour dialog over the owner window.
class SystemWindowDialogs final : public WindowDialogs {
 public:
  explicit SystemWindowDialogs(QWidget* owner) : owner_(owner) {}
  bool AskYesNo(const QString& text) override;
  std::optional<QColor> PickColour(const QColor& initial) override;
  SaveChoice AskSaveChanges(const QString& name) override;
  QString AskOpenFileName() override;
  QString AskSaveFileName(const QString& suggested) override;
  void ShowError(const QString& text) override;

 private:
  QWidget* owner_;
};

}  // namespace casavo
