#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/zifrax_frm.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Zifrax"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // German texts for Qt's own dialogs and buttons; without the file the
    // program still starts, in English there.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    zifrax::ZifRax_frm window;
    window.show();
    return QApplication::exec();
}
