// The casavo:// scheme: registration, its handler, link parsing.

#include "net/casavo_scheme.h"

#include <QStringList>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace casavo {
namespace {

constexpr const char* kScheme = "casavo";
constexpr qsizetype kMaxParts = 20;

class RefusingHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
  }
};

}  // namespace

void RegisterCasavoScheme() {
  QWebEngineUrlScheme scheme(kScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  QWebEngineUrlScheme::registerScheme(scheme);
}

void InstallCasavoSchemeHandler(QWebEngineProfile* profile) {
  if (profile->urlSchemeHandler(kScheme)) return;
  profile->installUrlSchemeHandler(kScheme, new RefusingHandler(profile));
}

bool IsCasavoLink(const QUrl& address) {
  return address.scheme().compare(QLatin1String(kScheme), Qt::CaseInsensitive) == 0;
}

std::optional<CasavoLink> ParseCasavoLink(const QUrl& address) {
  const QString text = address.toString();
  const qsizetype start = text.indexOf(QLatin1String("://"));
  const QStringList parts =
      (start < 0 ? QString() : text.mid(start + 3) + QLatin1Char('/')).split(QLatin1Char('/'));
  if (parts.size() > kMaxParts) return std::nullopt;
  return CasavoLink{parts.value(0), parts.value(1)};
}

}  // namespace casavo
