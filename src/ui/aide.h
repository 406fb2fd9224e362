// TAide: the help-tip dialog.

#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace casavo {

// The settings key that remembers "Ne plus afficher" for a text: "Aide_" and
// the MD5 of the text's Windows-1252 bytes in upper-case hexadecimal.
std::string AideKey(const QString& text);

// The small modal dialog that shows tips and messages.
class TfmAide : public QDialog {
  Q_OBJECT

 public:
  // The "Ne plus afficher" box shows only when withBox.
  TfmAide(QWidget* owner, bool withBox, const QString& text);

  // The text grows the dialog up to a height, then scrolls in this area.
  QScrollArea* Text;
  QLabel* Label1;
  QCheckBox* CheckBox1;
  QPushButton* Button1;

  // "OK": remembers a ticked box for the text, then closes.
  void Button1Click();

 private:
  QString text_;
};

// Runs the message dialog until it closes. The application's presenter runs it
// modally; tests install one that answers for the user.
class MessageDialogPresenter {
 public:
  virtual ~MessageDialogPresenter() = default;
  virtual void Run(TfmAide& dialog) = 0;
};

// Installs the process-wide presenter (not owned); nullptr restores the modal one.
void SetMessageDialogPresenter(MessageDialogPresenter* presenter);

// Shows text unless the user chose earlier never to see it again (with or
// without the box). True when it was shown.
bool ShowMessageDialog(bool withBox, const QString& text);

}  // namespace casavo
