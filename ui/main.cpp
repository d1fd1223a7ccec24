#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    QLabel placeholder(QStringLiteral("Brimwave"));
    placeholder.setWindowTitle(QStringLiteral("Brimwave"));
    placeholder.resize(696, 495);
    placeholder.setAlignment(Qt::AlignCenter);
    placeholder.show();
    return app.exec();
}
