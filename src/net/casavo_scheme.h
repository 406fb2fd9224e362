// The casavo:// links of the service's pages that drive the editor.

#pragma once

#include <QString>
#include <QUrl>
#include <optional>

class QWebEngineProfile;

namespace casavo {

// Makes casavo:// links reach the web page's navigation filter. Must run
// before the QApplication is created.
void RegisterCasavoScheme();

// Gives the profile a handler for the scheme: without one the engine blocks
// casavo:// links before asking the page. The handler refuses every request;
// the page cancels these navigations before any reaches it.
void InstallCasavoSchemeHandler(QWebEngineProfile* profile);

bool IsCasavoLink(const QUrl& address);

// A casavo:// link read as "command/argument/…".
struct CasavoLink {
  QString command;
  QString argument;  // empty when the link has none
};

// The command of a link; nothing for a link of more than 20 parts, which no
// page of the service makes.
std::optional<CasavoLink> ParseCasavoLink(const QUrl& address);

}  // namespace casavo
