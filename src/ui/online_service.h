// OnlineService: the seam between the main window and its online part.

#pragma once

#include <QString>

class QWidget;

namespace casavo {

// The online part of the main window: the embedded web view and the plan
// commands that talk to the service. The window runs without it (the editor is
// then all it shows); the program sets one after creating the window.
class OnlineService {
 public:
  virtual ~OnlineService() = default;

  // The web view to place over the editor's area. The window reparents it and
  // from then on owns it; it must outlive nothing but the window.
  virtual QWidget* WebView() = 0;
  // Loads the service's home page, waiting for it when wait is set.
  virtual void NavigateHome(bool wait) = 0;
  // "Charger un plan" and "Sauver ce plan".
  virtual void LoadPlanCommand() = 0;
  virtual void SavePlanCommand() = 0;
  // The user's name while signed in, for the title block of a printed plan;
  // empty otherwise.
  virtual QString SignedInUser() const { return {}; }
};

}  // namespace casavo
