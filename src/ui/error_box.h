// ShowErrorBox: an error text in a modal box (replaced in tests).

#pragma once

#include <QString>
#include <functional>

namespace casavo {

// Shows an error text in a modal box with the critical icon. Tests install a
// presenter that records the text instead of blocking.
void ShowErrorBox(const QString& text);

// Replaces the modal box; an empty function restores it.
void SetErrorBoxPresenter(std::function<void(const QString& text)> presenter);

}  // namespace casavo
