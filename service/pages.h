// HtmlPage and the builders of the service's web pages.

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "service/accounts.h"
#include "service/plans.h"

namespace casavo::service {

struct HtmlPage {
  int status = 200;
  std::string html;
};

// Everything the gallery shows; `visitor` is null for an unknown visitor.
struct GalleryView {
  const User* visitor = nullptr;
  std::vector<PlanSummary> own;
  std::vector<PlanSummary> shared;  // other users' plans at level 1 to 3
  int page = 0;                     // of `shared`, from 0
  bool hasNextPage = false;
  std::string loginError;  // after a failed sign-in from the page
};

// Name of a sharing level as the save dialog lists it.
std::string SharingName(int level);
std::string PlanPagePath(const PlanSummary& plan);

HtmlPage HomePage(std::string_view email);
HtmlPage HelpPage();
HtmlPage DownloadPage();
HtmlPage GalleryPage(const GalleryView& view);
HtmlPage PlanPage(const PlanSummary& plan, const User* visitor);
// Same page for a plan that does not exist and one the visitor may not see,
// so that private plans cannot be found by trying numbers.
HtmlPage PlanNotFoundPage();
HtmlPage ErrorPage(int status);

}  // namespace casavo::service
