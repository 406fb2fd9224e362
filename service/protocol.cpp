// The editor's protocol: one handler per action, Refusal for a refused one.

#include "service/protocol.h"

#include <algorithm>
#include <charconv>
#include <iostream>

#include "common/digest.h"
#include "common/text.h"
#include "service/plan_check.h"
#include "service/png.h"
#include "service/timefmt.h"
#include "service/utf8.h"
#include "service/version.h"

namespace casavo::service {
namespace {

constexpr std::string_view kNoRight = "Vous n'avez pas le droit de charger ce plan.";
constexpr std::string_view kPlanGone =
    "Ce plan n'existe plus sur le service. Enregistrez-le comme un nouveau plan.";

// A request refused with a status and a French message for the user.
struct Refusal {
  std::string status;
  std::string message;  // UTF-8
};

std::string Required(const FormFields& fields, const std::string& name) {
  auto value = fields.Get(name);
  if (!value) throw Refusal{"400", "Requête incomplète : le champ « " + name + " » manque."};
  return *value;
}

// A text field the editor sends in Windows-1252, as UTF-8.
std::string RequiredText(const FormFields& fields, const std::string& name) {
  return Cp1252ToUtf8(Required(fields, name));
}

std::optional<int64_t> ParseInt(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int64_t RequiredPlanId(const FormFields& fields) {
  const auto id = ParseInt(Required(fields, "planid"));
  if (!id || *id <= 0) throw Refusal{"400", "Identifiant de plan invalide."};
  return *id;
}

int RequiredInt(const FormFields& fields, const std::string& name, int low, int high,
                std::string_view message) {
  const auto value = ParseInt(Required(fields, name));
  if (!value || *value < low || *value > high) throw Refusal{"400", std::string(message)};
  return static_cast<int>(*value);
}

bool IsValidTitle(std::string_view title) {
  const auto chars = DecodeUtf8(title);
  if (!chars || chars->empty() || chars->size() > kMaxTitleChars) return false;
  for (char32_t c : *chars)
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == U'|') return false;
  return true;
}

void CheckPlanText(std::string_view text) {
  if (text.size() > kMaxPlanBytes)
    throw Refusal{"413", "Ce plan est trop volumineux pour être enregistré."};
  if (std::string problem = PlanTextProblem(text); !problem.empty())
    throw Refusal{"400", std::move(problem)};
}

[[noreturn]] void RefuseWait(int64_t seconds) {
  const int64_t minutes = (seconds + 59) / 60;
  throw Refusal{"429", "Trop de mots de passe erronés. Pour protéger les comptes, réessayez dans " +
                           std::to_string(minutes) + (minutes > 1 ? " minutes." : " minute.")};
}

// The refusal of a save or a preview by someone who may not save the plan.
[[noreturn]] void RefuseSave(SaveRight right, const PlanSummary& plan) {
  switch (right) {
    case SaveRight::kReadOnly:
      throw Refusal{"403", "Ce plan créé par " + plan.owner +
                               " est partagé en Lecture. Vous ne pouvez pas l'enregistrer."};
    case SaveRight::kUseAsNew:
      throw Refusal{"403", "Ce plan créé par " + plan.owner +
                               " est partagé en Utilisation : enregistrez-le comme un nouveau plan "
                               "à votre nom."};
    default:
      // Someone else's private plan answers as a missing one: the answer
      // must not tell that it exists.
      throw Refusal{"404", std::string(kPlanGone)};
  }
}

// One plan as the editor's "lister" reads it: id|title|creator|created|
// sharing|preview address|stamp. Titles and logins never hold "|".
std::string PlanRecord(const PlanSummary& plan) {
  return std::to_string(plan.id) + "|" + plan.title + "|" + plan.owner + "|" +
         FormatLocalTime(plan.createdAt, "%Y-%m-%d %H:%M:%S") + "|" + std::to_string(plan.sharing) +
         "|" + PreviewPath(plan) + "|" + plan.stamp;
}

}  // namespace

ProtocolReply ProtocolReply::Text(std::string status, std::string_view utf8) {
  return {std::move(status), Utf8ToCp1252(utf8)};
}

ProtocolReply ProtocolReply::Bytes(std::string status, std::string bytes) {
  return {std::move(status), std::move(bytes)};
}

Protocol::Protocol(Accounts& accounts, Plans& plans, ErrorReports& errors,
                   ProtocolSettings settings)
    : accounts_(accounts), plans_(plans), errors_(errors), settings_(std::move(settings)) {}

bool NeedsPasswordHash(const FormFields& fields) {
  const std::string action = fields.GetOr("action");
  return action == "enregistrement" || action == "connect";
}

ProtocolReply Protocol::Handle(const FormFields& fields, const std::string& address) {
  try {
    const auto action = fields.Get("action");
    if (!action) return ProtocolReply::Text("400", "Requête incomplète : aucune action demandée.");
    return Dispatch(*action, fields, address);
  } catch (const Refusal& refusal) {
    return ProtocolReply::Text(refusal.status, refusal.message);
  } catch (const std::exception& error) {
    std::cerr << "casavo-service: " << fields.GetOr("action") << ": " << error.what() << "\n";
    return ProtocolReply::Text("500",
                               "Le service a rencontré une erreur. Veuillez réessayer un "
                               "peu plus tard.");
  }
}

ProtocolReply Protocol::Dispatch(const std::string& action, const FormFields& fields,
                                 const std::string& address) {
  if (action == "enregistrement") return Enregistrement(fields, address);
  if (action == "connect") return Connect(fields, address);
  if (action == "test_connexion") return TestConnexion();
  if (action == "lister") return Lister(fields, RequireSession(fields));
  if (action == "charger") return Charger(fields, RequireSession(fields));
  if (action == "sauver") return Sauver(fields, RequireSession(fields));
  if (action == "sauver_png") return SauverPng(fields, RequireSession(fields));
  if (action == "erreur") {
    if (fields.GetOr("userid").empty()) return Erreur(fields, nullptr, address);
    const User user = RequireSession(fields);
    return Erreur(fields, &user, address);
  }
  return ProtocolReply::Text("400", "Action inconnue du service.");
}

User Protocol::RequireSession(const FormFields& fields) {
  const std::string sessionId = fields.GetOr("userid");
  if (sessionId.empty())
    throw Refusal{"401", "Vous devez être connecté pour effectuer cette action."};
  auto user = accounts_.FindSession(sessionId);
  if (!user)
    throw Refusal{"401",
                  "Votre connexion au service n'est plus valable. Fermez Casavo puis "
                  "relancez-le pour vous reconnecter."};
  return *user;
}

void Protocol::CheckVersion(const FormFields& fields) const {
  const std::string version = Required(fields, "version");
  if (!settings_.minVersion) return;
  const auto parsed = ParseVersion(version);
  if (!parsed || VersionLess(*parsed, *settings_.minVersion))
    throw Refusal{"402", settings_.downloadUrl};
}

ProtocolReply Protocol::Enregistrement(const FormFields& fields, const std::string& address) {
  const std::string login = RequiredText(fields, "login");
  const std::string email = RequiredText(fields, "email");
  const std::string pass = RequiredText(fields, "pass");
  CheckVersion(fields);
  const RegistrationResult result = accounts_.Register(login, email, pass, address);
  switch (result.outcome) {
    case Registration::kCreated:
    case Registration::kSignedIn:
      return ProtocolReply::Text("200", accounts_.OpenSession(result.user->id));
    case Registration::kLoginInvalid:
      return ProtocolReply::Text("400",
                                 "Votre pseudo doit faire de 4 à 64 caractères, sans le "
                                 "caractère « | » ni espace au début ou à la fin.");
    case Registration::kEmailInvalid:
      return ProtocolReply::Text("400",
                                 "Votre adresse e-mail n'est pas valide. Veuillez saisir "
                                 "une adresse correcte.");
    case Registration::kPasswordInvalid:
      return ProtocolReply::Text("400", "Votre mot de passe doit faire 8 caractères minimum.");
    case Registration::kTaken:
      return ProtocolReply::Text(
          "409",
          "Ce pseudo ou cette adresse e-mail est déjà pris. Si vous avez déjà un compte, "
          "saisissez exactement son pseudo, son e-mail et son mot de passe ; sinon, "
          "choisissez un autre pseudo et une autre adresse e-mail.");
    case Registration::kThrottled:
      RefuseWait(result.waitSeconds);
  }
  throw std::logic_error("unhandled registration outcome");
}

ProtocolReply Protocol::Connect(const FormFields& fields, const std::string& address) {
  const std::string login = RequiredText(fields, "login");
  const std::string email = RequiredText(fields, "email");
  const std::string pass = RequiredText(fields, "pass");
  CheckVersion(fields);
  const Authentication signIn = accounts_.Authenticate(login, pass, address);
  if (signIn.waitSeconds > 0) RefuseWait(signIn.waitSeconds);
  if (!signIn.user || AsciiLower(signIn.user->email) != AsciiLower(email))
    return ProtocolReply::Text("401", "Identifiant, e-mail ou mot de passe incorrect.");
  return ProtocolReply::Text("200", accounts_.OpenSession(signIn.user->id));
}

ProtocolReply Protocol::TestConnexion() {
  return ProtocolReply::Text("200", "Connexion au service Casavo réussie.");
}

ProtocolReply Protocol::Lister(const FormFields& fields, const User& user) {
  const auto plan = plans_.FindByKey(Required(fields, "plancle"));
  if (!plan || !MayView(*plan, &user)) return ProtocolReply::Text("403", kNoRight);
  return ProtocolReply::Text("200", PlanRecord(*plan));
}

ProtocolReply Protocol::Charger(const FormFields& fields, const User& user) {
  const int64_t planId = RequiredPlanId(fields);
  const auto plan = plans_.FindById(planId);
  if (!plan || !MayView(*plan, &user)) return ProtocolReply::Text("403", kNoRight);
  return ProtocolReply::Bytes("200", plans_.Content(planId));
}

ProtocolReply Protocol::Sauver(const FormFields& fields, const User& user) {
  const std::string title = RequiredText(fields, "titre");
  const std::string planId = Required(fields, "planid");
  const int sharing =
      RequiredInt(fields, "partage", 0, 3, "Le niveau de partage doit être 0, 1, 2 ou 3.");
  const std::string stamp = RequiredText(fields, "date_modification");
  const std::string content = Required(fields, "fichier");
  if (!IsValidTitle(title))
    throw Refusal{"400",
                  "Le nom du plan doit faire de 1 à 200 caractères, sans le caractère "
                  "« | »."};
  CheckPlanText(content);

  const SaveResult result =
      planId.empty() ? plans_.Create(user, title, sharing, content)
                     : plans_.Update(user, RequiredPlanId(fields), title, sharing, stamp, content);
  switch (result.outcome) {
    case SaveOutcome::kSaved:
      return ProtocolReply::Text(
          "200", "OK:" + result.plan->stamp + ";" + std::to_string(result.plan->id));
    case SaveOutcome::kNotFound:
      return ProtocolReply::Text("404", kPlanGone);
    case SaveOutcome::kRefused:
      RefuseSave(result.right, *result.plan);
    case SaveOutcome::kStale:
      return ProtocolReply::Text(
          "409", "Ce plan a été enregistré par ailleurs (" + result.plan->stamp +
                     ") depuis que vous l'avez ouvert. Pour ne pas effacer ces changements, "
                     "votre version n'a pas été enregistrée : rechargez le plan depuis la "
                     "galerie, puis refaites vos modifications.");
  }
  throw std::logic_error("unhandled save outcome");
}

ProtocolReply Protocol::SauverPng(const FormFields& fields, const User& user) {
  const int64_t planId = RequiredPlanId(fields);
  std::string base64 = Required(fields, "data");
  const int width =
      RequiredInt(fields, "large", 1, INT32_MAX, "La largeur de l'aperçu est invalide.");
  const int height =
      RequiredInt(fields, "haut", 1, INT32_MAX, "La hauteur de l'aperçu est invalide.");
  // Base64 has no spaces: a client that did not escape "+" had it turned
  // into a space by the form decoding.
  std::replace(base64.begin(), base64.end(), ' ', '+');
  const auto png = Base64Decode(base64);
  const auto size = png ? ReadPngSize(*png) : std::nullopt;
  const std::string_view broken = "L'aperçu reçu n'est pas une image PNG valide.";
  if (!size) return ProtocolReply::Text("400", broken);
  const std::string measured = "L'aperçu reçu mesure " + std::to_string(size->width) + " × " +
                               std::to_string(size->height) + " pixels";
  // Checked before decoding: a small file can stand for a huge picture.
  if (size->width > kMaxPreviewSide || size->height > kMaxPreviewSide)
    return ProtocolReply::Text("400", measured + ", plus que les " +
                                          std::to_string(kMaxPreviewSide) + " × " +
                                          std::to_string(kMaxPreviewSide) + " acceptés.");
  if (size->width != width || size->height != height)
    return ProtocolReply::Text("400", measured + " au lieu de " + std::to_string(width) + " × " +
                                          std::to_string(height) + ".");
  if (!DecodesWhole(*png)) return ProtocolReply::Text("400", broken);

  const SaveResult result = plans_.StorePreview(user, planId, {*png, width, height});
  switch (result.outcome) {
    case SaveOutcome::kSaved:
      return ProtocolReply::Text("200", "OK");
    case SaveOutcome::kRefused:
      RefuseSave(result.right, *result.plan);
    default:
      return ProtocolReply::Text("404", kPlanGone);
  }
}

ProtocolReply Protocol::Erreur(const FormFields& fields, const User* user,
                               const std::string& address) {
  const std::string message = RequiredText(fields, "msg");
  if (message.size() > kMaxErrorMessageBytes)
    return ProtocolReply::Text("413", "Ce message d'erreur est trop long.");
  if (!errors_.Record(user ? std::optional<int64_t>(user->id) : std::nullopt, message, address))
    return ProtocolReply::Text("429",
                               "Trop de rapports d'erreur envoyés depuis votre adresse. "
                               "Réessayez dans une heure.");
  return ProtocolReply::Text("200", "OK");
}

}  // namespace casavo::service
