// main() of casavo: the application, the main window and the online part, wired together.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "net/casavo_scheme.h"
#include "net/online_editor.h"
#include "ui/application.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  // The web view needs both before the application exists: casavo:// links
  // reach its navigation filter only once the scheme is registered.
  casavo::RegisterCasavoScheme();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  casavo::CasavoApplication app(argc, argv);
  // Qt's own texts (standard buttons, edit menus) in French like the rest.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);
  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("Casavo : dessinez le plan de votre maison."));
  options.addHelpOption();
  options.addPositionalArgument(QStringLiteral("fichier"),
                                QStringLiteral("Le plan (.plan) à ouvrir au démarrage."));
  options.process(app);
  casavo::TForm1 window;
  window.SetOnlineService(std::make_unique<casavo::OnlineEditor>(window));
  if (!options.positionalArguments().isEmpty())
    window.SetStartFile(options.positionalArguments().constFirst());
  window.show();
  return app.exec();
}
