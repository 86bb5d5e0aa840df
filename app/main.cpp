#include "tform4.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    TForm4 form;
    form.show();
    return application.exec();
}
