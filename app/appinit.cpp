#include "app/appinit.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kx {

void InitApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Kandrix"));
  QApplication::setOrganizationName(QStringLiteral("Kandrix"));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

  auto* translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }

  // The fonts the documents and panels name, and their metric-compatible stand-ins.
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Helvetica"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

}  // namespace kx
