// NetDialogs: the seam to the account and save dialogs (scripted in tests).

#pragma once

#include <QString>
#include <QUrl>
#include <string>

#include "editor/casa.h"

namespace casavo {

// What the account dialog shows and what the user typed.
struct AccountEntry {
  std::string login;
  std::string email;
  std::string pass;
  bool remember = false;  // "Mémoriser le mot de passe"
};

// The questions the online client asks the user. The program shows real modal
// dialogs (ModalNetDialogs); tests answer for the user.
class NetDialogs {
 public:
  virtual ~NetDialogs() = default;
  // The account dialog, filled with entry. True when the user accepted it; the
  // entry then holds the typed values. A cancel leaves the entry unchanged.
  virtual bool Account(AccountEntry& entry) = 0;
  // The save dialog for the user `login`. True when the user pressed "&Sauver";
  // info then holds the new title and sharing level, and an empty PlanId when
  // the plan is to be kept beside the old one.
  virtual bool SavePlan(const std::string& login, TPlanInfo& info) = 0;
  // A Yes/No question with the information icon; true for Yes.
  virtual bool AskYesNo(const QString& text) = 0;
  // Opens an address with the desktop's default handler.
  virtual void OpenUrl(const QUrl& url) = 0;
};

}  // namespace casavo
