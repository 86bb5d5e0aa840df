#include "tform4.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The program takes no command line, and QApplication would read Qt's
    // own options from it (-reverse mirrors every control, -platform and
    // -qwindowgeometry move it elsewhere): it is handed the program's name
    // alone. Qt's environment variables still reach it.
    char name[] = "pimbola";
    char *programArgv[] = {argc > 0 && argv[0] ? argv[0] : name, nullptr};
    int programArgc = 1;
    QApplication application(programArgc, programArgv);
    // The window class on X11, which the menu entry names: fixed here so a
    // renamed binary still matches it.
    QApplication::setApplicationName(QStringLiteral("pimbola"));
    // Lets a desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PIMBOLA_APP_ID));
    TForm4 form;
    form.show();
    return application.exec();
}
