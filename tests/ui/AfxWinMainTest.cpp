// The program's entry: AfxWinMain makes the toolkit's application object, the Fusion style, the
// application icon and name, and runs the event loop only when InitInstance asks for it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <QTimer>
#include <cstdlib>

#include "platform/ui/CWinApp.h"
#include "tests/ui/TestResources.h"

namespace {
class ProbeApp : public CWinApp {
public:
    explicit ProbeApp(BOOL runLoop) : m_bRunLoop(runLoop) {}

    BOOL InitInstance() override {
        ++initCalls;
        style = QApplication::style()->name();
        hasIcon = !QApplication::windowIcon().isNull();
        if (m_bRunLoop)
            QTimer::singleShot(0, [] { QApplication::exit(3); });
        return m_bRunLoop;
    }

    BOOL m_bRunLoop;
    int initCalls = 0;
    QString style;
    bool hasIcon = false;
};

char g_programName[] = "/usr/bin/probe";
char* g_argv[] = {g_programName, nullptr};

void Headless() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}
}  // namespace

TEST(AfxWinMainTest, InitInstanceReturningFalseEndsWithoutAnEventLoop) {
    Headless();
    UseTestResources();
    ProbeApp app(FALSE);
    EXPECT_EQ(AfxWinMain(1, g_argv), 0);
    EXPECT_EQ(app.initCalls, 1);
    EXPECT_EQ(app.style, QStringLiteral("fusion"));
    EXPECT_TRUE(app.hasIcon);                       // icon 128 of the resources
    EXPECT_EQ(app.m_strAppName, CString("probe"));  // no title string: the program's name
}

TEST(AfxWinMainTest, InitInstanceReturningTrueRunsTheLoopUntilItEnds) {
    Headless();
    UseTestResources();
    ProbeApp app(TRUE);
    EXPECT_EQ(AfxWinMain(1, g_argv), 3);
    EXPECT_EQ(app.initCalls, 1);
}

TEST(AfxWinMainTest, WithoutAnApplicationObjectItFails) {
    Headless();
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(1, g_argv), 1);
}
