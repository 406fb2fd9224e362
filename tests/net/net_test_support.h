// NetTest: a scripted transport and decoded form bodies.

#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "editor/messages.h"
#include "files/settings.h"
#include "net/keyring.h"
#include "net/net_dialogs.h"
#include "net/transport.h"
#include "ui/aide.h"

namespace casavo::testing {

// The fields of a form body, decoded as the service decodes them, as UTF-8.
inline std::map<std::string, std::string> FormFieldsOf(const QByteArray& body) {
  std::map<std::string, std::string> fields;
  for (const QByteArray& pair : body.split('&')) {
    const qsizetype equals = pair.indexOf('=');
    QByteArray value = pair.mid(equals + 1);
    value.replace('+', ' ');
    fields[pair.left(equals).toStdString()] =
        Cp1252ToUtf8(QByteArray::fromPercentEncoding(value).toStdString());
  }
  return fields;
}

// Answers each post with the next scripted reply (nothing = a failed
// exchange) and keeps the bodies it was given.
class ScriptedTransport : public ServiceTransport {
 public:
  // A reply written in UTF-8, sent in Windows-1252 as the service does.
  void Reply(const std::string& utf8) { ReplyBytes(Utf8ToCp1252(utf8)); }
  void ReplyBytes(const std::string& body) {
    replies_.push_back({true, QByteArray::fromStdString(body)});
  }
  void Fail() { replies_.push_back({false, {}}); }

  std::optional<QByteArray> Post(const QUrl& address, const QByteArray& body) override {
    addresses.push_back(address);
    bodies.push_back(body);
    if (replies_.empty()) ADD_FAILURE() << "unexpected request " << body.toStdString();
    if (replies_.empty()) return std::nullopt;
    const Scripted reply = replies_.front();
    replies_.pop_front();
    if (!reply.answered) return std::nullopt;
    return reply.body;
  }

  std::map<std::string, std::string> Fields(size_t i) const { return FormFieldsOf(bodies.at(i)); }
  std::string Action(size_t i) const { return Fields(i)["action"]; }
  bool AllAnswered() const { return replies_.empty(); }

  std::vector<QUrl> addresses;
  std::vector<QByteArray> bodies;

 private:
  struct Scripted {
    bool answered;
    QByteArray body;
  };
  std::deque<Scripted> replies_;
};

// Answers the online client's dialogs as scripted and records what it was asked.
class ScriptedDialogs : public NetDialogs {
 public:
  bool Account(AccountEntry& entry) override {
    accountShown.push_back(entry);
    if (!accountAnswer) return false;
    entry = *accountAnswer;
    return true;
  }
  bool SavePlan(const std::string& login, TPlanInfo& info) override {
    saveLogins.push_back(login);
    saveShown.push_back(info);
    if (!saveAnswer) return false;
    saveAnswer(info);
    return true;
  }
  bool AskYesNo(const QString& text) override {
    questions.push_back(text);
    return yes;
  }
  void OpenUrl(const QUrl& url) override { opened.push_back(url); }

  std::optional<AccountEntry> accountAnswer;   // nothing = cancel
  std::function<void(TPlanInfo&)> saveAnswer;  // empty = cancel
  bool yes = false;
  std::vector<AccountEntry> accountShown;
  std::vector<std::string> saveLogins;
  std::vector<TPlanInfo> saveShown;
  std::vector<QString> questions;
  std::vector<QUrl> opened;
};

// Records the message dialogs instead of showing them.
class MessageRecorder : public MessageDialogPresenter {
 public:
  struct Shown {
    QString text;
    bool withBox;
  };
  MessageRecorder() { SetMessageDialogPresenter(this); }
  ~MessageRecorder() override { SetMessageDialogPresenter(nullptr); }
  void Run(TfmAide& dialog) override {
    shown.push_back({dialog.Label1->text(), !dialog.CheckBox1->isHidden()});
  }
  std::vector<QString> Texts() const {
    std::vector<QString> texts;
    for (const Shown& s : shown) texts.push_back(s.text);
    return texts;
  }
  std::vector<Shown> shown;
};

inline QString Q(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// A private settings folder and the message catalogue, for every net test.
// A keyring in memory, or none at all when not available.
class MemoryKeyring : public PasswordKeyring {
 public:
  bool available = true;
  std::string password;

  bool Available() override { return available; }
  std::string Read() override { return password; }
  bool Write(const std::string& value) override {
    if (available) password = value;
    return available;
  }
  void Erase() override { password.clear(); }
};

class NetTest : public ::testing::Test {
 protected:
  NetTest() {
    SetAppFolder(folder_.path().toStdString() + "/");
    Messages::Init();
    SetKeyring(&keyring);
  }
  ~NetTest() override {
    SetKeyring(nullptr);
    Messages::Free();
    SetAppFolder("");
  }

  MessageRecorder messages;
  MemoryKeyring keyring;

 private:
  QTemporaryDir folder_;
};

}  // namespace casavo::testing
