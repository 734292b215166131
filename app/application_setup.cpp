// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zifrax {

void setUpApplication()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Zifrax"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZIFRAX_APP_ID));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // Without the translation file the program still starts, with Qt's own
    // dialogs in English.
    auto* qtTexts = new QTranslator(qApp);
    if (qtTexts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
    else
        delete qtTexts;
}

}  // namespace zifrax
