// The service's address (settings key "Service").

#pragma once

#include <QString>
#include <QUrl>

namespace casavo {

// The service's address from the settings key "Service"
// (default http://127.0.0.1:8642), without a trailing "/".
QString ServiceEndpoint();

// An address on the service: the endpoint followed by a path and query that
// begins with "/".
QUrl ServiceUrl(const QString& pathAndQuery);

// True when the page was served by the configured service (same scheme, host
// and port), so that only the service's own pages may drive the editor.
bool IsServicePage(const QUrl& page);

// Text for a query value of a page address: "+", "&" and "#" would otherwise
// change the address.
QString QueryValue(const std::string& utf8);

}  // namespace casavo
