// The web pages: home, gallery, plan page, account pages.

#include "service/pages.h"

#include "service/html.h"
#include "service/timefmt.h"

namespace casavo::service {
namespace {

std::string FormatDate(int64_t unixSeconds) {
  return FormatLocalTime(unixSeconds, "%d/%m/%Y à %H:%M");
}

std::string OpenLink(const PlanSummary& plan, std::string_view label) {
  return "<a class=\"button\" href=\"casavo://open/" + HtmlEscape(plan.key) + "\">" +
         std::string(label) + "</a>";
}

// The preview picture, or a placeholder box of the same size; `large` on the
// plan's own page, small in the gallery cards.
std::string PreviewMarkup(const PlanSummary& plan, bool large) {
  if (!plan.hasPreview)
    return std::string("<div class=\"placeholder") + (large ? " preview-placeholder" : "") +
           "\">Pas encore d'aperçu</div>";
  return std::string("<img class=\"") + (large ? "preview" : "thumb") + "\" src=\"" +
         HtmlEscape(PreviewPath(plan)) + "\" alt=\"Aperçu du plan " + HtmlEscape(plan.title) +
         "\">";
}

std::string PlanCard(const PlanSummary& plan) {
  const std::string page = HtmlEscape(PlanPagePath(plan));
  return "<div class=\"card\"><a href=\"" + page + "\">" + PreviewMarkup(plan, false) +
         "</a><div class=\"body\"><div class=\"title\"><a href=\"" + page + "\">" +
         HtmlEscape(plan.title) + "</a></div><div class=\"meta\">par " + HtmlEscape(plan.owner) +
         "<br>modifié le " + FormatDate(plan.modifiedAt) +
         "<br>Partage : " + SharingName(plan.sharing) + "</div></div><div class=\"actions\">" +
         OpenLink(plan, "Ouvrir dans Casavo") + "</div></div>\n";
}

std::string PlanGrid(const std::vector<PlanSummary>& plans) {
  std::string html = "<div class=\"grid\">\n";
  for (const auto& plan : plans) html += PlanCard(plan);
  return html + "</div>";
}

std::string LoginForm(const std::string& error) {
  std::string html = "<div class=\"panel\"><p>Connectez-vous pour voir aussi vos plans privés.</p>";
  if (!error.empty()) html += "<p class=\"notice\">" + HtmlEscape(error) + "</p>";
  return html +
         "<form class=\"login\" method=\"post\" action=\"/fr/mesplans\" "
         "accept-charset=\"utf-8\"><label>Pseudo <input name=\"login\" required "
         "autocomplete=\"username\"></label><label>Mot de passe <input name=\"pass\" "
         "type=\"password\" required autocomplete=\"current-password\"></label>"
         "<button class=\"button\" type=\"submit\">Se connecter</button></form></div>";
}

std::string Pager(const GalleryView& view) {
  if (view.page == 0 && !view.hasNextPage) return {};
  std::string html = "<p>";
  if (view.page > 0)
    html +=
        "<a class=\"button secondary\" href=\"/fr/mesplans?page=" + std::to_string(view.page - 1) +
        "\">Plans plus récents</a> ";
  if (view.hasNextPage)
    html +=
        "<a class=\"button secondary\" href=\"/fr/mesplans?page=" + std::to_string(view.page + 1) +
        "\">Plans plus anciens</a>";
  return html + "</p>";
}

}  // namespace

std::string SharingName(int level) {
  switch (level) {
    case 1:
      return "Lecture";
    case 2:
      return "Modification";
    case 3:
      return "Utilisation";
    default:
      return "Aucun (privé)";
  }
}

std::string PlanPagePath(const PlanSummary& plan) {
  return "/soft.php?action=voir_plan&planid=" + std::to_string(plan.id);
}

HtmlPage HomePage(std::string_view email) {
  std::string body = email.empty() ? "<h1>Bienvenue sur Casavo</h1>"
                                   : "<h1>Bonjour " + HtmlEscape(email) + " !</h1>";
  body += R"html(
<p class="lead">Casavo vous aide à dessiner le plan de votre maison, même si vous n'avez jamais tracé de plan.</p>
<div class="panel">
<h2>Votre premier plan en quatre étapes</h2>
<ol class="steps">
<li><span class="menu">Tracer un mur</span> : cliquez sur cette commande du menu de gauche, puis cliquez sur le plan et déplacez la souris en gardant le bouton appuyé. Relâchez au bout du mur ; recommencez depuis son extrémité pour continuer.</li>
<li><span class="menu">Ajouter une ouverture</span> : cliquez ensuite sur un mur pour y placer une porte ou une fenêtre. Son type et sa largeur se règlent dans le panneau « Trou ».</li>
<li><span class="menu">Voir les pièces</span> : cochez cette case de la section « Affichage ». Chaque pièce fermée par des murs montre sa surface ; cliquez dedans pour lui donner un nom, un type et une couleur.</li>
<li><span class="menu">Sauver ce plan</span> : choisissez un nom et un niveau de partage ; le plan et son aperçu sont enregistrés dans votre compte.</li>
</ol>
</div>
<p><a class="button" href="/fr/mesplans">Voir la galerie des plans</a>
<a class="button secondary" href="/fr/aide">Lire l'aide</a>
<a class="button secondary" href="casavo://editeur">Retour à l'éditeur</a></p>)html";
  return {200, PageLayout("Accueil", body)};
}

HtmlPage HelpPage() {
  static const std::string body = R"html(<h1>Aide</h1>
<div class="panel">
<h2>Dessiner</h2>
<p><span class="menu">Tracer un mur</span> dessine un mur : cliquez sur le plan et déplacez la souris en gardant le bouton appuyé. Des lignes vertes vous aident à aligner les murs. La touche <kbd>M</kbd> du clavier commence aussi un mur.</p>
<p><span class="menu">Ajouter une ouverture</span> place une porte ou une fenêtre sur le mur où vous cliquez (touche <kbd>O</kbd>). Choisissez-la ensuite dans le panneau « Trou » : type, largeur, volet et côté d'ouverture.</p>
<p>Cliquez sur un mur, un coin ou une ouverture pour le sélectionner et régler ses mesures dans le panneau de gauche. La touche <kbd>Suppr</kbd> efface le mur ou l'ouverture sélectionné, après confirmation, et <span class="menu">Annuler</span> (<kbd>Ctrl</kbd>+<kbd>Z</kbd>) revient en arrière.</p>
<p>Les traits rouges signalent ce qui semble faux sur le plan, par exemple un mur qui ne touche rien.</p>
</div>
<div class="panel">
<h2>Les pièces</h2>
<p>Cochez <span class="menu">Voir les pièces</span> : chaque pièce fermée par des murs affiche sa surface. Cliquez dans une pièce pour lui donner un nom, un type et une couleur.</p>
</div>
<div class="panel">
<h2>Enregistrer et partager</h2>
<p><span class="menu">Sauver ce plan</span> enregistre le plan dans votre compte Casavo avec un aperçu. <span class="menu">Charger un plan</span> ouvre la galerie : cliquez sur « Ouvrir dans Casavo » pour reprendre un plan.</p>
<p>Le niveau de partage décide de ce que les autres peuvent faire de votre plan :</p>
<ul>
<li><strong>Aucun</strong> : personne ne peut voir ou utiliser votre plan. Il est privé.</li>
<li><strong>Lecture</strong> : tout le monde peut le voir, personne ne peut le modifier ou l'enregistrer.</li>
<li><strong>Modification</strong> : tout le monde peut le voir et le modifier, personne ne peut se l'approprier.</li>
<li><strong>Utilisation</strong> : tout le monde peut le voir et l'enregistrer comme son propre plan ; le vôtre ne change pas.</li>
</ul>
<p>Si deux personnes modifient en même temps un plan partagé, la seconde à enregistrer est prévenue au lieu d'effacer le travail de la première : elle recharge le plan, ou l'enregistre comme un nouveau plan.</p>
</div>
<div class="panel">
<h2>Votre compte</h2>
<p>Le premier enregistrement ou chargement vous demande un pseudo (4 caractères au moins), votre adresse e-mail et un mot de passe. Si vous avez déjà un compte, saisissez les mêmes informations. Votre mot de passe n'est jamais conservé en clair par le service.</p>
</div>)html";
  return {200, PageLayout("Aide", body)};
}

HtmlPage DownloadPage() {
  static const std::string body = R"html(<h1>Nouvelle version de Casavo</h1>
<div class="panel">
<p>Ce service demande une version plus récente de Casavo. Mettez le logiciel à jour, puis relancez-le : vos plans vous attendent dans votre compte.</p>
<p>Si vous avez installé Casavo depuis ses sources, récupérez la dernière version et lancez <code>scripts/run</code>.</p>
</div>)html";
  return {200, PageLayout("Nouvelle version", body)};
}

HtmlPage GalleryPage(const GalleryView& view) {
  std::string body = "<h1>Galerie des plans</h1>";
  if (view.visitor) {
    body += "<h2>Mes plans</h2>";
    body += view.own.empty()
                ? std::string(
                      "<p>Vous n'avez pas encore enregistré de plan. Dessinez-en un, puis "
                      "choisissez <span class=\"menu\">Sauver ce plan</span>.</p>")
                : PlanGrid(view.own);
  } else {
    body += LoginForm(view.loginError);
  }
  body += "<h2>Plans partagés</h2>";
  body += view.shared.empty() ? std::string("<p>Aucun plan partagé pour le moment.</p>")
                              : PlanGrid(view.shared);
  body += Pager(view);
  return {200, PageLayout("Galerie des plans", body)};
}

HtmlPage PlanPage(const PlanSummary& plan, const User* visitor) {
  std::string body = "<h1>" + HtmlEscape(plan.title) + "</h1><p class=\"meta\">par " +
                     HtmlEscape(plan.owner) + " · créé le " + FormatDate(plan.createdAt) +
                     " · modifié le " + FormatDate(plan.modifiedAt) +
                     " · Partage : " + SharingName(plan.sharing) + "</p>";
  body += "<p>" + PreviewMarkup(plan, true) + "</p>";
  body += "<p>" + OpenLink(plan, "Ouvrir dans Casavo") +
          " <a class=\"button secondary\" href=\"casavo://editeur\">Retour à l'éditeur</a> "
          "<a class=\"button secondary\" href=\"/fr/mesplans\">Galerie des plans</a></p>";
  if (!visitor || visitor->id != plan.ownerId) {
    if (plan.sharing == 1)
      body +=
          "<p class=\"notice\">Ce plan est partagé en lecture : vous pouvez l'ouvrir mais "
          "pas l'enregistrer.</p>";
    else if (plan.sharing == 3)
      body +=
          "<p class=\"notice\">Ce plan est partagé en utilisation : en l'enregistrant, vous "
          "en faites un nouveau plan à votre nom.</p>";
  }
  return {200, PageLayout(plan.title, body)};
}

HtmlPage PlanNotFoundPage() {
  return {404, PageLayout("Plan introuvable",
                          "<h1>Plan introuvable</h1><div class=\"panel\"><p>Ce plan n'existe pas, "
                          "ou il n'est pas partagé avec vous.</p><p><a href=\"/fr/mesplans\">"
                          "Retour à la galerie des plans</a></p></div>")};
}

HtmlPage ErrorPage(int status) {
  std::string title;
  std::string text;
  switch (status) {
    case 404:
      title = "Page introuvable";
      text = "Cette page n'existe pas.";
      break;
    case 413:
      title = "Envoi trop volumineux";
      text = "Les données envoyées dépassent la taille acceptée par le service.";
      break;
    case 429:
      title = "Trop de tentatives";
      text = "Trop de tentatives de connexion en même temps. Veuillez réessayer dans un instant.";
      break;
    case 503:
      title = "Service occupé";
      text = "Le service reçoit trop de données en ce moment. Veuillez réessayer un peu plus tard.";
      break;
    case 500:
      title = "Erreur du service";
      text = "Le service a rencontré une erreur. Veuillez réessayer un peu plus tard.";
      break;
    default:
      title = "Requête refusée";
      text = "Le service ne peut pas traiter cette requête.";
  }
  return {status, PageLayout(title, "<h1>" + title + "</h1><div class=\"panel\"><p>" + text +
                                        "</p><p><a href=\"/soft.php?action=site_accueil\">"
                                        "Retour à l'accueil</a></p></div>")};
}

}  // namespace casavo::service
