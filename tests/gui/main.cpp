// The window tests' entry: Qt on the offscreen platform, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

// The offscreen platform says it cannot do what a window manager would (size hints, raise);
// those lines say nothing about the program.
QtMessageHandler g_previous = nullptr;

void QuietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (g_previous) g_previous(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previous = qInstallMessageHandler(QuietPlatform);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
