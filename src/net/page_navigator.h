// PageNavigator: the seam that shows service pages in the web view.

#pragma once

#include <QUrl>

namespace casavo {

// Shows pages of the service in the web view.
class PageNavigator {
 public:
  virtual ~PageNavigator() = default;
  // Loads the address. With wait, returns once the page is complete or after
  // at most 3 seconds, processing user-interface events meanwhile.
  virtual void NavigateTo(const QUrl& address, bool wait) = 0;
};

}  // namespace casavo
