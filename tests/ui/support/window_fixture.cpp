// WindowTest: the main window with scripted dialogs.

#include "ui/support/window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace casavo {

void ScriptedTips::Run(TfmAide& dialog) {
  script_.tips.push_back(dialog.Label1->text());
  script_.tipBoxes.push_back(!dialog.CheckBox1->isHidden());
  dialog.CheckBox1->setChecked(script_.tickTips);
  dialog.Button1->click();
}

void WindowTest::SetUp() {
  ASSERT_TRUE(home_.isValid());
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  qputenv("XDG_DATA_HOME", home_.path().toUtf8());
  SetMessageDialogPresenter(&tips_);
  SetErrorBoxPresenter([this](const QString& text) { script_.errors.push_back(text); });
}

void WindowTest::TearDown() {
  Stop();
  SetErrorBoxPresenter({});
  SetMessageDialogPresenter(nullptr);
  SetAppFolder("");
  qunsetenv("XDG_DATA_HOME");
}

void WindowTest::Start(std::unique_ptr<OnlineService> online) {
  form_ = std::make_unique<TForm1>();
  form_->SetOnlineService(std::move(online));
  form_->SetDialogs(std::make_unique<ScriptedWindowDialogs>(script_));
  form_->Editor->SetDialogs(std::make_unique<ScriptedEditorDialogs>(script_));
  form_->Editor->SetKeyState(std::make_unique<ScriptedKeys>(script_));
  form_->show();
  QCoreApplication::processEvents();
}

void WindowTest::Select(int32_t index, uint8_t kind) {
  Plan().SetSelection(index, kind);
  Plan().NotifySelectionChange();
}

void WindowTest::Type(TUnitEdit* field, const QString& text) {
  field->EditBox()->selectAll();
  QTest::keyClicks(field->EditBox(), text);
  QTest::keyClick(field->EditBox(), Qt::Key_Return);
}

void WindowTest::Drag(QPoint from, QPoint to) {
  TCasa* editor = form_->Editor;
  QTest::mousePress(editor, Qt::LeftButton, {}, from);
  QTest::mouseMove(editor, (from + to) / 2);
  QTest::mouseMove(editor, to);
  QTest::mouseRelease(editor, Qt::LeftButton, {}, to);
}

void WindowTest::DrawWall(QPoint from, QPoint to) {
  Click(form_->mlTracerMur);
  Drag(from, to);
}

}  // namespace casavo
