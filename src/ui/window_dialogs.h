#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace casavo {

// The questions the main window asks the user. The program uses modal boxes;
// tests answer for the user.
class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // A Yes/No question with the information icon; true for Yes.
  virtual bool AskYesNo(const QString& text) = 0;
  // The colour dialog opened on initial; nothing when the user cancels.
  virtual std::optional<QColor> PickColour(const QColor& initial) = 0;
};

// Modal boxes and the system colour dialog over the owner window.
class SystemWindowDialogs final : public WindowDialogs {
 public:
  explicit SystemWindowDialogs(QWidget* owner) : owner_(owner) {}
  bool AskYesNo(const QString& text) override;
  std::optional<QColor> PickColour(const QColor& initial) override;

 private:
  QWidget* owner_;
};

}  // namespace casavo
