#include <QApplication>

#include <gtest/gtest.h>

namespace {

// A picture the skin lacks fails the test that shows it, rather than blanking a button unseen.
void FailOnMissingPictures(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg && message.contains(QLatin1String("skin picture")))
        ADD_FAILURE() << message.toStdString();
    fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    qInstallMessageHandler(FailOnMissingPictures);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
