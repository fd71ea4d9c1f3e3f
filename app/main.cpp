#include <QApplication>
#include <QLabel>

// Placeholder until the main window arrives.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel label("vn274");
    label.show();
    return app.exec();
}
