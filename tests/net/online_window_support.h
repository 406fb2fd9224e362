// OnlineWindowTest: the main window with a scripted online part.

#pragma once

#include <QLocale>
#include <QTemporaryDir>
#include <memory>

#include "files/plan_xml.h"
#include "net/casa_net.h"
#include "net/online_plans.h"
#include "net/page_navigator.h"
#include "net_test_support.h"
#include "ui/main_window.h"

namespace casavo::testing {

// Keeps the addresses the web view was told to show.
class RecordingNavigator : public PageNavigator {
 public:
  struct Visit {
    QUrl address;
    bool wait;
  };
  void NavigateTo(const QUrl& address, bool wait) override { visits.push_back({address, wait}); }
  std::vector<Visit> visits;
};

// Stands in for the web view, so that the window can switch to it.
class FakeOnline : public OnlineService {
 public:
  QWidget* WebView() override { return view_; }
  void NavigateHome(bool) override {}
  void LoadPlanCommand() override {}
  void SavePlanCommand() override {}

 private:
  QWidget* view_ = new QWidget;  // the window owns it
};

// Answers No, cancels the file dialogs, and answers the question about
// unsaved changes with saveChoice.
class AnswerNo : public WindowDialogs {
 public:
  bool AskYesNo(const QString&) override { return false; }
  std::optional<QColor> PickColour(const QColor&) override { return std::nullopt; }
  SaveChoice AskSaveChanges(const QString& name) override {
    saveQuestions.push_back(name);
    return saveChoice;
  }
  QString AskOpenFileName() override { return {}; }
  QString AskSaveFileName(const QString&) override { return {}; }
  void ShowError(const QString& text) override { errors.push_back(text); }

  SaveChoice saveChoice = SaveChoice::Discard;
  std::vector<QString> saveQuestions;
  std::vector<QString> errors;
};

class NoRecovery : public EditorDialogs {
 public:
  bool AskYesNo(const QString&) override { return false; }
};

// A main window in a temporary application folder, and the online plan
// commands over a scripted service.
class OnlineWindowTest : public ::testing::Test {
 protected:
  OnlineWindowTest() {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    SetKeyring(&keyring);
    window_ = std::make_unique<TForm1>();
    window_->SetOnlineService(std::make_unique<FakeOnline>());
    auto answers = std::make_unique<AnswerNo>();
    answers_ = answers.get();
    window_->SetDialogs(std::move(answers));
    window_->Editor->SetDialogs(std::make_unique<NoRecovery>());
    window_->resize(1000, 612);
    window_->ShowEditor();
    plans_ = std::make_unique<OnlinePlans>(*window_, net, pages);
  }
  ~OnlineWindowTest() override {
    plans_.reset();
    window_.reset();
    SetAppFolder("");
    qunsetenv("XDG_DATA_HOME");
    SetKeyring(nullptr);
  }

  // Connects as alice, session "S1".
  void Connect() {
    WriteSetting("Login", "alice");
    WriteSetting("EMail", "alice@example.org");
    WriteSetting("Pass", "secret");
    transport.Reply("200 S1");
    ASSERT_TRUE(net.Connecter());
  }
  TCasa& Editor() { return *window_->Editor; }
  TCasaPlan& Plan() { return *window_->Editor->Plan; }

  QTemporaryDir home_;
  MemoryKeyring keyring;
  MessageRecorder messages;
  ScriptedTransport transport;
  ScriptedDialogs dialogs;
  TCasaNet net{transport, dialogs};
  RecordingNavigator pages;
  std::unique_ptr<TForm1> window_;
  AnswerNo* answers_ = nullptr;
  std::unique_ptr<OnlinePlans> plans_;
};

// A plan text of two walls forming an L, at zoom 0.1.
inline std::string TwoWallPlanText() {
  TCasaPlan plan;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddWall({9000, 5000}, {9000, 8000});
  plan.zx = plan.zy = 0.1;
  return WritePlanXml(plan);
}

}  // namespace casavo::testing
