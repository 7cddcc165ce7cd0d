#include "platform/ui/CWinApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QThread>
#include <QTranslator>
#include <clocale>

#include "platform/os/BeepWays.h"
#include "platform/os/UserLanguage.h"
#include "platform/ui/Resource.h"
#include "platform/ui/qt/DialogUnits.h"
#include "platform/ui/qt/Handles.h"
#include "platform/ui/qt/QtText.h"

namespace {
CWinApp* g_app = nullptr;
constexpr UINT kAppTitleString = 0xE000;  // the string that names the application, when present
constexpr UINT kMainIcon = 128;           // the application's icon, when present

// The display's bell, for beeps that no sound server plays. Only the thread of the windows may
// ring it, and only where there is a display to hear it on.
bool RingDisplayBell() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread())
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    QApplication::beep();
    return true;
}

// The user's language for the resources' texts, and for the toolkit's own (the file dialog, the
// buttons of message boxes, the menu of an edit field) its translations where they are installed.
void UseUserLanguage(QApplication& app) {
    const ResourceSet* set = AfxGetResourceSet();
    const std::string language =
        set && set->catalogue ? SelectUserLanguage(set->catalogue) : std::string();
    if (language.empty())
        return;
    auto* toolkit = new QTranslator(&app);
    if (toolkit->load(QStringLiteral("qtbase_") + QString::fromStdString(language),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(toolkit);
    }
}

// The bell belongs to the application object: installed with it, removed before it goes.
struct DisplayBellScope {
    DisplayBellScope() { SetDisplayBell(&RingDisplayBell); }
    ~DisplayBellScope() { SetDisplayBell(nullptr); }
};
}  // namespace

CWinApp::CWinApp(const char* lpszAppName) : m_strAppName(lpszAppName) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    return QApplication::exec();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return IconResourceHandle(nIDResource);
}

HCURSOR CWinApp::LoadStandardCursor(UINT nIDCursor) const {
    return StandardCursorHandle(nIDCursor);
}

void AfxUseCNumbers() {
    std::setlocale(LC_NUMERIC, "C");
}

CWinApp* AfxGetApp() {
    return g_app;
}

int AfxWinMain(int argc, char** argv) {
    static int s_argc;
    s_argc = argc;
    QApplication app(s_argc, argv);
    AfxUseCNumbers();
    const DisplayBellScope bell;
    UseUserLanguage(app);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(DialogFont());
    CWinApp* theApp = AfxGetApp();
    if (!theApp)
        return 1;
    if (theApp->m_strAppName.IsEmpty()) {
        const char* title = AfxFindString(kAppTitleString);
        theApp->m_strAppName =
            title ? CString(title)
                  : FromQString(
                        QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "")).baseName());
    }
    QApplication::setApplicationName(ToQString(theApp->m_strAppName));
    HICON icon = IconResourceHandle(kMainIcon);
    if (!icon) {
        const ResourceSet* set = AfxGetResourceSet();
        if (set && set->iconCount > 0)
            icon = IconResourceHandle(set->icons[0].id);
    }
    if (icon)
        QApplication::setWindowIcon(IconOf(icon)->icon);
    if (!theApp->InitInstance())
        return 0;
    return theApp->Run();
}
