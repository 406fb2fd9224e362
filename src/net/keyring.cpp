// The desktop keyring through QtKeychain.

#include "net/keyring.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <optional>

#include "files/settings.h"

namespace casavo {
namespace {

const QString kService = QStringLiteral("Casavo");
const QString kKey = QStringLiteral("Pass");

// Runs a keychain job to its end, keeping the user interface alive.
void RunJob(QKeychain::Job& job) {
  job.setAutoDelete(false);
  job.setKey(kKey);
  QEventLoop loop;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
  job.start();
  loop.exec();
}

bool Answered(QKeychain::Error error) {
  return error == QKeychain::NoError || error == QKeychain::EntryNotFound;
}

class DesktopKeyring : public PasswordKeyring {
 public:
  bool Available() override {
    // Asked once: a keyring does not come and go during a run.
    if (!available_) Read();
    return *available_;
  }

  std::string Read() override {
    QKeychain::ReadPasswordJob job(kService);
    RunJob(job);
    available_ = Answered(job.error());
    return job.error() == QKeychain::NoError ? job.textData().toStdString() : std::string();
  }

  bool Write(const std::string& password) override {
    QKeychain::WritePasswordJob job(kService);
    job.setTextData(QString::fromStdString(password));
    RunJob(job);
    return job.error() == QKeychain::NoError;
  }

  void Erase() override {
    QKeychain::DeletePasswordJob job(kService);
    RunJob(job);
  }

 private:
  std::optional<bool> available_;
};

DesktopKeyring desktopKeyring;
PasswordKeyring* keyring = &desktopKeyring;

}  // namespace

PasswordKeyring& Keyring() {
  return *keyring;
}

void SetKeyring(PasswordKeyring* replacement) {
  keyring = replacement ? replacement : &desktopKeyring;
}

void MovePasswordOutOfSettings() {
  if (AppFolder().empty()) return;
  const std::string stored = ReadSetting("Pass");
  if (stored.empty()) return;
  if (Keyring().Available()) Keyring().Write(stored);
  WriteSetting("Pass", "");
}

}  // namespace casavo
