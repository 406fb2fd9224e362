// TCasaNet: the service protocol's requests and their replies.

#include "net/casa_net.h"

#include <QBuffer>
#include <QImageReader>
#include <charconv>
#include <vector>

#include "common/digest.h"
#include "editor/messages.h"
#include "files/settings.h"
#include "net/keyring.h"
#include "net/text_format.h"
#include "ui/aide.h"

namespace casavo {
namespace {

constexpr const char* kVersion = "2.2";
constexpr size_t kMaxListerFields = 1001;

void ShowError(const std::string& text) {
  ShowMessageDialog(false, QString::fromStdString(text));
}

// What to tell the user about a refused or failed request: the service's own
// message, or the connection message when no reply came at all.
std::string ReplyMessage(const ServiceReply& reply) {
  const std::string data = reply.Data();
  return data.empty() ? Msg("NET_CONNEXION_ERROR") : data;
}

std::vector<std::string> SplitFields(const std::string& record) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (fields.size() + 1 < kMaxListerFields) {
    const size_t bar = record.find('|', start);
    if (bar == std::string::npos) break;
    fields.push_back(record.substr(start, bar - start));
    start = bar + 1;
  }
  fields.push_back(record.substr(start));
  fields.resize(std::max<size_t>(fields.size(), 7));
  return fields;
}

uint8_t ReadSharing(const std::string& text) {
  int level = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
  const bool whole = !text.empty() && error == std::errc() && end == text.data() + text.size();
  // Levels beyond the four known ones are treated as private.
  return whole && level >= 0 && level <= 3 ? static_cast<uint8_t>(level) : 0;
}

}  // namespace

TCasaNet::TCasaNet(ServiceTransport& transport, NetDialogs& dialogs)
    : transport_(transport), dialogs_(dialogs) {
  // Created once at start: a password an older version kept in clear leaves
  // the settings file now, not at the first connection.
  MovePasswordOutOfSettings();
}

bool TCasaNet::Connecter() {
  if (Connected) return false;
  connectionFailureShown_ = false;
  Login = ReadSetting("Login");
  EMail = ReadSetting("EMail");
  MovePasswordOutOfSettings();
  Pass = Keyring().Read();
  bool remember = false;
  ServiceReply reply;
  if (EMail.empty() || Login.empty()) {
    if (!AskAccount(remember)) return false;
    reply = SendAccount("enregistrement");
  } else {
    if (!Pass.empty()) {
      reply = SendAccount("connect");
      remember = true;
    }
    if (!reply.IsStatus("200") && !reply.IsStatus("402")) {
      if (!AskAccount(remember)) return false;
      reply = SendAccount("connect");
    }
  }
  return ConcludeConnection(reply, remember);
}

bool TCasaNet::AskAccount(bool& remember) {
  AccountEntry entry{Login, EMail, Pass, false};
  if (!dialogs_.Account(entry)) return false;
  Login = entry.login;
  EMail = entry.email;
  Pass = entry.pass;
  remember = entry.remember;
  return true;
}

ServiceReply TCasaNet::SendAccount(const char* action) {
  return Send(FormBody(action)
                  .Text("login", Login)
                  .Text("email", EMail)
                  .Text("pass", Pass)
                  .Text("version", kVersion));
}

bool TCasaNet::ConcludeConnection(const ServiceReply& reply, bool remember) {
  if (reply.IsStatus("200")) {
    WriteSetting("Login", Login);
    WriteSetting("Email", EMail);
    if (remember)
      Keyring().Write(Pass);
    else
      Keyring().Erase();
    UserId = reply.Data();
    Connected = true;
    if (OnConnect) OnConnect();
    return true;
  }
  connectionFailureShown_ = true;
  if (reply.IsStatus("402")) {
    OfferNewVersion(reply.Data());
  } else if (reply.StatusNumber() > 0) {
    ShowError(reply.Data());
  } else {
    ShowError(Msg("NET_CONNEXION_ERROR"));
    // The next attempt asks for the password again.
    Keyring().Erase();
  }
  return false;
}

void TCasaNet::OfferNewVersion(const std::string& address) {
  if (!dialogs_.AskYesNo(FormatQ(Msg("NET_NEW_VERSION"), {address}))) return;
  // Only a web address is handed to the desktop: the reply comes from the network.
  const QUrl url(QString::fromStdString(address));
  if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
    dialogs_.OpenUrl(url);
}

std::string TCasaNet::ChargerPlan(const std::string& planKey, TPlanInfo& info) {
  if (!Connected) Connecter();
  if (!Connected) return Msg("NET_CONNECTER_CHARGE");
  ServiceReply reply = Send(FormBody("lister").Text("userid", UserId).Text("plancle", planKey));
  if (!reply.IsStatus("200")) return ReplyMessage(reply);

  const std::vector<std::string> fields = SplitFields(reply.Data());
  // A record without a plan id: nothing at all means an empty file.
  if (fields[0].empty())
    return Msg(reply.DataBytes().empty() ? "NET_FICHIER_VIDE" : "NET_PAS_LE_DROIT");
  info.PlanId = fields[0];
  info.Titre = fields[1];
  info.Createur = fields[2];
  info.Divers1 = fields[3];
  info.Partage = ReadSharing(fields[4]);
  info.Divers2 = fields[5];
  info.DateModification = fields[6];

  reply = Send(FormBody("charger").Text("userid", UserId).Text("planid", info.PlanId));
  if (!reply.IsStatus("200")) return ReplyMessage(reply);
  if (reply.DataBytes().empty()) return Msg("NET_FICHIER_VIDE");
  info.Fichier = reply.DataBytes();
  return {};
}

SaveOutcome TCasaNet::SauverPlan(TPlanInfo& info) {
  if (!Connected) Connecter();
  if (!Connected) {
    // One message: the connection's own when it said why, this one otherwise.
    if (!connectionFailureShown_) ShowError(Msg("NET_CONNECTER_SAUVE"));
    return SaveOutcome::Told;
  }
  if (!dialogs_.SavePlan(Login, info)) return SaveOutcome::Cancelled;

  const ServiceReply reply = Send(FormBody("sauver")
                                      .Text("userid", UserId)
                                      .Text("titre", info.Titre)
                                      .Text("planid", info.PlanId)
                                      .Number("partage", info.Partage)
                                      .Text("date_modification", info.DateModification)
                                      .Bytes("fichier", info.Fichier));
  // No reply at all: the caller says the plan was not saved.
  if (reply.StatusNumber() <= 0) return SaveOutcome::Failed;
  if (!reply.IsStatus("200")) {
    ShowError(ReplyMessage(reply));
    return SaveOutcome::Told;
  }
  // "<status> <text>:<stamp>;<plan id>"; the stamp may hold colons itself.
  const std::string text = reply.Data();
  const size_t colon = text.find(':');
  const std::string stamped = colon == std::string::npos ? text : text.substr(colon + 1);
  const size_t semicolon = stamped.find(';');
  info.DateModification = stamped.substr(0, semicolon);
  info.PlanId = semicolon == std::string::npos ? std::string() : stamped.substr(semicolon + 1);
  return SaveOutcome::Saved;
}

bool TCasaNet::SauverPng(const std::string& planId, const QByteArray& png) {
  QBuffer buffer;
  buffer.setData(png);
  const QSize size = QImageReader(&buffer, "png").size();
  const ServiceReply reply =
      Send(FormBody("sauver_png")
               .Text("planid", planId)
               .Bytes("data", Base64Encode(std::string_view(png.constData(), png.size())))
               .Number("large", size.width())
               .Number("haut", size.height())
               // Lets the service refuse a preview from someone who may not save the plan.
               .Text("userid", UserId));
  if (reply.IsStatus("200")) return true;
  ShowError(ReplyMessage(reply));
  return false;
}

bool TCasaNet::EnvoyerErreur(const std::string& message) {
  return Send(FormBody("erreur").Text("msg", message)).IsStatus("200");
}

}  // namespace casavo
