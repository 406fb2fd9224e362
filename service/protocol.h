// Protocol: the editor's "action=" requests and their "<status> <data>" replies.

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/accounts.h"
#include "service/error_reports.h"
#include "service/form.h"
#include "service/plans.h"

namespace casavo::service {

// One reply of the editor's protocol: "<status> <data>", Windows-1252 bytes.
// The editor reads the status from the first three characters and the data
// from the fifth on.
struct ProtocolReply {
  std::string status;
  std::string data;  // Windows-1252 bytes

  static ProtocolReply Text(std::string status, std::string_view utf8);
  static ProtocolReply Bytes(std::string status, std::string bytes);
  std::string Body() const { return status + " " + data; }
};

struct ProtocolSettings {
  std::optional<std::vector<long>> minVersion;  // older editors get "402"
  std::string downloadUrl;                      // the data of the "402" reply
};

// Largest plan text accepted; a full plan of the model's capacities is far
// below it.
constexpr size_t kMaxPlanBytes = 8 * 1024 * 1024;
constexpr size_t kMaxTitleChars = 200;
constexpr size_t kMaxErrorMessageBytes = 64 * 1024;
// A picture of this side decodes to 64 MB at most; the editor's previews of
// the largest plans stay below it.
constexpr int kMaxPreviewSide = 4000;

// The refusal of a sign-in attempt that comes too soon after others.
constexpr std::string_view kTooManyAttempts =
    "Trop de tentatives de connexion en même temps. Veuillez réessayer dans un instant.";

// The requests whose answer costs a password hash.
bool NeedsPasswordHash(const FormFields& fields);

// The "action=" requests of the editor. Field values arrive as Windows-1252
// bytes; texts are stored as UTF-8 and plan texts as the bytes received.
class Protocol {
 public:
  Protocol(Accounts& accounts, Plans& plans, ErrorReports& errors, ProtocolSettings settings);

  // Runs the request's action for a client at `address`, whose wrong
  // passwords and error reports count against it. Never throws: a bad request
  // is a 4xx reply and an internal failure a 500 reply.
  ProtocolReply Handle(const FormFields& fields, const std::string& address = {});

  ProtocolReply Enregistrement(const FormFields& fields, const std::string& address);
  ProtocolReply Connect(const FormFields& fields, const std::string& address);
  ProtocolReply TestConnexion();
  ProtocolReply Lister(const FormFields& fields, const User& user);
  ProtocolReply Charger(const FormFields& fields, const User& user);
  ProtocolReply Sauver(const FormFields& fields, const User& user);
  ProtocolReply SauverPng(const FormFields& fields, const User& user);
  ProtocolReply Erreur(const FormFields& fields, const User* user, const std::string& address);

 private:
  ProtocolReply Dispatch(const std::string& action, const FormFields& fields,
                         const std::string& address);
  User RequireSession(const FormFields& fields);
  void CheckVersion(const FormFields& fields) const;

  Accounts& accounts_;
  Plans& plans_;
  ErrorReports& errors_;
  ProtocolSettings settings_;
};

}  // namespace casavo::service
