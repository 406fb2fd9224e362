// OnlinePlans: Charger and Sauver between the editor and the service.

#pragma once

#include <string>

#include "editor/casa.h"
#include "net/casa_net.h"
#include "net/page_navigator.h"
#include "ui/main_window.h"

namespace casavo {

// Loading plans from the service into the editor and saving them there, with
// the rules on plans created by another user.
class OnlinePlans {
 public:
  OnlinePlans(TForm1& window, TCasaNet& net, PageNavigator& pages);

  // "Charger un plan": connects, then shows the plan gallery.
  void mlChargerPlanClick();
  // "Sauver ce plan": saves, then shows the saved plan's page.
  void SauverPlanClick();
  // Saves the plan with its preview; true when the plan was saved.
  bool SaveToService();
  // A gallery link: downloads the plan of the key and opens it.
  void OpenLink(const std::string& planKey);
  // Opens a downloaded plan (info.Fichier holds its text) in the editor.
  void LoadPlanInfo(const TPlanInfo& info);

 private:
  void ReportLoadError(const char* pattern, const std::string& planId);
  void TellSharing();

  TForm1& window_;
  TCasa& editor_;
  TCasaNet& net_;
  PageNavigator& pages_;
};

}  // namespace casavo
