// TCasaNet: the client of the service protocol (account, Charger, Sauver, Lister).

#pragma once

#include <QByteArray>
#include <functional>
#include <string>

#include "editor/casa.h"
#include "net/net_dialogs.h"
#include "net/request.h"
#include "net/transport.h"

namespace casavo {

// How an online save ended: saved, cancelled by the user, or failed, either
// with the reason already shown (Told) or with nothing shown yet (Failed).
enum class SaveOutcome { Saved, Cancelled, Told, Failed };

// The user's connection to the service and every request made to it.
class TCasaNet {
 public:
  TCasaNet(ServiceTransport& transport, NetDialogs& dialogs);

  std::string EMail;
  std::string Login;
  std::string Pass;
  std::string UserId;  // the session the service gave; sent as "userid"
  bool Connected = false;
  // Called after each successful connection.
  std::function<void()> OnConnect;

  // Connects with the stored credentials, or those the user types in the
  // account dialog. True when this call established the connection.
  bool Connecter();
  // Looks up and downloads the plan of a gallery key. Returns the error text
  // for the user, empty on success (info then holds the plan and its text).
  std::string ChargerPlan(const std::string& planKey, TPlanInfo& info);
  // Asks for title and sharing, then saves the plan text info.Fichier. On
  // success info holds the service's PlanId and modification stamp.
  SaveOutcome SauverPlan(TPlanInfo& info);
  // Uploads the PNG preview of a saved plan.
  bool SauverPng(const std::string& planId, const QByteArray& png);
  // Reports a load error to the service; nothing is shown to the user.
  bool EnvoyerErreur(const std::string& message);

 private:
  ServiceReply Send(const FormBody& body) { return EnvoyerRequete(transport_, body); }
  ServiceReply SendAccount(const char* action);
  bool AskAccount(bool& remember);
  bool ConcludeConnection(const ServiceReply& reply, bool remember);
  void OfferNewVersion(const std::string& address);

  ServiceTransport& transport_;
  NetDialogs& dialogs_;
  // The last Connecter showed why it failed.
  bool connectionFailureShown_ = false;
};

}  // namespace casavo
