#include <QApplication>

#include "app/application_setup.h"
#include "app/zifrax_frm.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    zifrax::setUpApplication();
    zifrax::ZifRax_frm window;
    window.show();
    return QApplication::exec();
}
