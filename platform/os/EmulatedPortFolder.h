// The user's folder of emulated ports ($XDG_RUNTIME_DIR/brenvo/ports): where the dimmer emulator
// publishes EMUn and CABLEn links to its pseudo-terminals, and where the port services find them.
// The folder is used only when it is safe: owned by the user and writable by no one else.
#pragma once

#include <optional>
#include <string>

class EmulatedPortFolder {
public:
    // Opens the folder when it is safe to use; with `create`, makes the missing folders first
    // (mode 0700). Without XDG_RUNTIME_DIR there is no folder.
    explicit EmulatedPortFolder(bool create = false);
    // The same under the runtime folder `runtimeDir` (an absolute path; "" gives no folder).
    EmulatedPortFolder(const std::string& runtimeDir, bool create);
    ~EmulatedPortFolder();
    EmulatedPortFolder(const EmulatedPortFolder&) = delete;
    EmulatedPortFolder& operator=(const EmulatedPortFolder&) = delete;

    bool IsUsable() const { return m_dirFd >= 0; }
    const std::string& Path() const { return m_path; }

    // The target of link `name` when it is exactly "/dev/pts/<digits>"; nothing otherwise.
    std::optional<std::string> ReadPtyLink(const std::string& name) const;
    // The text of `name`.description (first line, at most 63 bytes); nothing when absent.
    std::optional<std::string> ReadDescription(const std::string& name) const;
    // The USB serial number `name` reports, from `name`.serial (first line, at most 63 bytes);
    // nothing when it publishes none.
    std::optional<std::string> ReadSerialNumber(const std::string& name) const;

    // Links `ptyPath` under the first free name prefix0..prefix63. With `serialNumber` the port
    // reports it, from a file written once the link has claimed the name; a cable also gets its
    // description file, written last (readers skip a cable whose description is not there yet).
    // Returns the name, or "" when full or on failure.
    std::string Publish(const std::string& prefix, const std::string& ptyPath,
                        const std::string* description, const std::string* serialNumber = nullptr);
    // Removes a published link and the files beside it; with `ptyPath`, only while the link
    // still points there.
    void Unpublish(const std::string& name, const std::string& ptyPath = std::string());

    static constexpr int kMaxPorts = 64;
    // XDG_RUNTIME_DIR, or "" when it is unset or not an absolute path.
    static std::string RuntimeDir();
    // Whether `name` has the form of a published port: `prefix` and a number below kMaxPorts.
    static bool IsPortName(const std::string& name, const std::string& prefix);

private:
    void RemoveLink(const std::string& name);
    // The first line of NAME`suffix` (at most 63 bytes); nothing when absent.
    std::optional<std::string> ReadBeside(const std::string& name, const char* suffix) const;
    // Writes NAME`suffix` through a temporary file, so that readers never see half of it.
    bool WriteBeside(const std::string& name, const char* suffix, const std::string& text);

    int m_dirFd = -1;
    std::string m_path;
};
