// The floor any Qt Widgets program pays to show Japanese text: a window of
// Pimbola's size and caption holding one label, nothing else.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Pimbola"));
    window.setFixedSize(393, 635);
    QLabel label(QStringLiteral("ぜんぶ　おしまいです"), &window);
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(22);
    label.setFont(font);
    label.move(8, 81);
    window.show();
    return application.exec();
}
