// Loading plans from the service and saving them there.

#include "net/online_plans.h"

#include "files/plan_xml.h"
#include "net/endpoint.h"
#include "net/text_format.h"
#include "render/preview.h"
#include "ui/aide.h"

namespace casavo {
namespace {

// The preview's scale: 0.05 pixel per millimetre.
constexpr int32_t kPreviewScale = 50;

constexpr const char* kLoadFailed =
    "Une erreur s'est produite durant le chargement du plan. Veuillez recharger ce plan un peu "
    "plus tard.";

void Tell(bool withBox, const std::string& text) {
  ShowMessageDialog(withBox, QString::fromStdString(text));
}

}  // namespace

OnlinePlans::OnlinePlans(TForm1& window, TCasaNet& net, PageNavigator& pages)
    : window_(window), editor_(*window.Editor), net_(net), pages_(pages) {}

void OnlinePlans::mlChargerPlanClick() {
  if (!net_.Connected) net_.Connecter();
  if (!net_.Connected) {
    Tell(false, "Vous devez être connecté pour charger un plan.");
    return;
  }
  pages_.NavigateTo(ServiceUrl(QStringLiteral("/fr/mesplans")), true);
  window_.ShowWebView(false);
}

void OnlinePlans::OpenLink(const std::string& planKey) {
  if (!window_.MaybeSaveChanges()) return;
  TPlanInfo info;
  try {
    const std::string error = net_.ChargerPlan(planKey, info);
    if (!error.empty())
      Tell(false, error);
    else
      LoadPlanInfo(info);
  } catch (const std::exception&) {
    ReportLoadError("Erreur 1 de chargement du plan %s par %s", info.PlanId);
  }
}

void OnlinePlans::ReportLoadError(const char* pattern, const std::string& planId) {
  // The login, never the session: reports are read by whoever runs the service.
  net_.EnvoyerErreur(FormatText(pattern, {planId, net_.Login}));
  Tell(false, kLoadFailed);
}

void OnlinePlans::LoadPlanInfo(const TPlanInfo& info) {
  window_.ResetPlan();
  editor_.PlanInfo = info;
  if (!ReadPlanXml(*editor_.Plan, info.Fichier)) {
    ReportLoadError("Erreur 2 de chargement du plan %s par %s", info.PlanId);
    editor_.Paint();
    return;
  }
  window_.SetZoom(editor_.Plan->zx);
  window_.PlanLoadedOnline();
  window_.ShowEditor();
  editor_.Paint();
  window_.SelectionChange();
  TellSharing();
  window_.UpdateTitle();
}

void OnlinePlans::TellSharing() {
  TPlanInfo& info = editor_.PlanInfo;
  if (info.Createur == net_.Login) return;
  switch (info.Partage) {
    case 1:
      Tell(true, FormatText("Ce plan créé par %s est partagé en Lecture. Vous ne pouvez pas "
                            "l'enregistrer.",
                            {info.Createur}));
      break;
    case 2:
      Tell(true, FormatText("Ce plan créé par %s est partagé en Modification. Vous pouvez "
                            "modifier son plan mais vous ne pouvez pas vous l'aproprier.",
                            {info.Createur}));
      break;
    case 3:
      // Saved later as a new plan of the current user.
      info.PlanId.clear();
      Tell(true, FormatText("Ce plan créé par %s est partagé en Utilisation. Vous pouvez "
                            "l'utiliser et l'enregistrer à votre nom.",
                            {info.Createur}));
      break;
    default:
      break;
  }
}

void OnlinePlans::SauverPlanClick() {
  const TPlanInfo& info = editor_.PlanInfo;
  if (!info.PlanId.empty() && info.Createur != net_.Login && info.Partage == 1) {
    Tell(true, FormatText("Ce plan créé par %s est partagé en Lecture. Vous ne pouvez pas "
                          "l'enregistrer.",
                          {info.Createur}));
    return;
  }
  if (SaveToService()) {
    window_.ShowWebView(false);
    pages_.NavigateTo(ServiceUrl(QStringLiteral("/soft.php?action=voir_plan&planid=") +
                                 QueryValue(editor_.PlanInfo.PlanId)),
                      false);
  }
  window_.UpdateTitle();
}

bool OnlinePlans::SaveToService() {
  TCasaPlan& plan = *editor_.Plan;
  if (plan.WallCount == 0) {
    Tell(false, "Il n'y a rien à sauvegarder car votre plan est vide.");
    return false;
  }
  TPlanInfo copy = editor_.PlanInfo;
  // The picture traced over is a file of this computer: the service gets the plan alone.
  const TTrace trace = plan.Trace;
  plan.Trace = TTrace();
  copy.Fichier = WritePlanXml(plan);
  plan.Trace = trace;
  copy.CalqueLocal = trace.Present();
  const SaveOutcome outcome = net_.SauverPlan(copy);
  if (outcome != SaveOutcome::Saved) {
    // A cancel is no failure, and a failure already explained needs no second word.
    if (outcome == SaveOutcome::Failed)
      Tell(true, FormatText("Le plan \"%s\" n'a pas été sauvegardé correctement. Veuillez "
                            "réessayer.",
                            {copy.Titre}));
    return false;
  }
  // The service records whoever first saves a plan as its creator: without
  // this, the user's own new plan at "Lecture" would be refused at the next save.
  if (copy.Createur.empty()) copy.Createur = net_.Login;
  // The preview carries no selection highlight.
  editor_.ClearSelection();
  editor_.Paint();
  bool previewStored = false;
  try {
    previewStored = net_.SauverPng(copy.PlanId, CreatePreview(plan, kPreviewScale));
  } catch (const PreviewError&) {
    // The plan itself is saved: only its picture is missing.
  }
  Tell(true, FormatText(previewStored ? "Le plan \"%s\" est sauvegardé."
                                      : "Le plan \"%s\" est sauvegardé mais pas son aperçu.",
                        {copy.Titre}));
  editor_.PlanInfo = copy;
  window_.PlanSavedOnline();
  return true;
}

}  // namespace casavo
