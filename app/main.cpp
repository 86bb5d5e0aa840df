#include "tform4.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Lets a desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PIMBOLA_APP_ID));
    TForm4 form;
    form.show();
    return application.exec();
}
