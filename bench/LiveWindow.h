// The real main window in this process, against brenvo-dimmer processes on the real port services
// and with real pauses, for timing programs that run for a long time: the window's dialogs are
// answered at once (OK, No to a question, the given path in a file dialog), and its title and the
// emulated ports are watched while the window's events are taken.
#pragma once

#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/CBrenvoDlg.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/UiSeam.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class AnsweringSeam final : public UiSeam {
public:
    // `body` runs while the main window is shown; other dialogs are cancelled at once.
    explicit AnsweringSeam(std::function<void(CBrenvoDlg&)> body) : m_body(std::move(body)) {
        SetUiSeam(this);
    }
    ~AnsweringSeam() override { SetUiSeam(nullptr); }
    AnsweringSeam(const AnsweringSeam&) = delete;
    AnsweringSeam& operator=(const AnsweringSeam&) = delete;

    void RunModal(CDialog& dialog) override {
        if (auto* main = dynamic_cast<CBrenvoDlg*>(&dialog)) {
            UiDriver::Show(dialog);
            m_body(*main);
        }
        if (!dialog.IsEnded()) {
            dialog.EndDialog(IDCANCEL);
        }
    }
    int MessageBox(CWnd*, const CString& text, const CString&, UINT type) override {
        ++messages;
        lastMessage = text.GetString();
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
    BOOL ChooseFile(const FileDialogRequest&, CString& path) override {
        if (whileChoosing) {
            whileChoosing();  // the dialog stays open meanwhile
        }
        path = filePath.c_str();
        return TRUE;
    }
    void SetCursor(HCURSOR) override {}

    int messages = 0;
    std::string lastMessage;
    std::string filePath;
    std::function<void()> whileChoosing;

private:
    std::function<void(CBrenvoDlg&)> m_body;
};

inline std::string TitleOf(CWnd& window) {
    CString title;
    window.GetWindowText(title);
    return title.GetString();
}

// Takes the window's events until `done` holds or `limitMs` has passed; whether it held.
inline bool WaitFor(const std::function<bool()>& done, int limitMs) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (Clock::now() >= end) {
            return false;
        }
        UiDriver::ProcessEventsFor(2);
    }
    return true;
}

inline bool Published(const std::string& portsPath) {
    return access((portsPath + "/CABLE0.description").c_str(), F_OK) == 0 ||
           access((portsPath + "/EMU0").c_str(), F_OK) == 0;
}

// Offscreen unless a display is there, and the program's resources.
inline void PrepareApplication() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    AfxSetResourceSet(&BrenvoResources());
}
