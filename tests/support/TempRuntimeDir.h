// A private XDG_RUNTIME_DIR for one test: the emulated-port folder lives in a fresh temporary
// folder, and the previous value comes back (and the folder goes) when the test ends.
#pragma once

#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

class TempRuntimeDir {
public:
    TempRuntimeDir() {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old != nullptr) {
            m_old = old;
        }
        char pattern[] = "/tmp/brenvo-test-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            m_path = pattern;
        }
        setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
    }
    ~TempRuntimeDir() {
        if (m_old) {
            setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        if (!m_path.empty()) {
            nftw(
                m_path.c_str(),
                [](const char* p, const struct stat*, int, struct FTW*) { return std::remove(p); },
                16, FTW_DEPTH | FTW_PHYS);
        }
    }
    TempRuntimeDir(const TempRuntimeDir&) = delete;
    TempRuntimeDir& operator=(const TempRuntimeDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string PortsPath() const { return m_path + "/brenvo/ports"; }

private:
    std::string m_path;
    std::optional<std::string> m_old;
};
