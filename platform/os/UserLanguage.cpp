#include "platform/os/UserLanguage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

#include "platform/os/MessageCatalogue.h"

#ifndef BRENVO_LOCALEDIR
#define BRENVO_LOCALEDIR "/usr/share/locale"
#endif

namespace {

std::mutex g_mutex;
std::shared_ptr<const MessageCatalogue> g_catalogue;
std::string g_language;

bool IsCLocale(const std::string& name) {
    return name == "C" || name == "POSIX" || name.compare(0, 2, "C.") == 0;
}

bool IsEnglish(const std::string& name) {
    return IsCLocale(name) || name == "en" || name.compare(0, 3, "en_") == 0 ||
           name.compare(0, 3, "en.") == 0 || name.compare(0, 3, "en@") == 0;
}

bool IsFile(const std::string& path) {
    struct stat st = {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::vector<std::string> RequestedLanguages(const EnvironmentLookup& getenv) {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    std::vector<std::string> out;
    if (locale.empty() || IsCLocale(locale))
        return out;
    if (const char* list = getenv("LANGUAGE")) {
        std::string entries = list;
        std::size_t start = 0;
        while (start <= entries.size()) {
            const std::size_t colon = entries.find(':', start);
            const std::string entry = entries.substr(start, colon - start);
            if (!entry.empty())
                out.push_back(entry);
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    out.push_back(locale);
    return out;
}

std::vector<std::string> LanguageFolders(const std::string& locale) {
    std::string name = locale;
    std::string modifier;
    if (const std::size_t at = name.find('@'); at != std::string::npos) {
        modifier = name.substr(at);
        name.erase(at);
    }
    if (const std::size_t dot = name.find('.'); dot != std::string::npos)
        name.erase(dot);
    std::vector<std::string> out;
    auto add = [&out](const std::string& folder) {
        if (!folder.empty() && folder.find('/') == std::string::npos && folder != "." &&
            folder != "..")
            out.push_back(folder);
    };
    const std::size_t underscore = name.find('_');
    if (!modifier.empty())
        add(name + modifier);
    add(name);
    if (underscore != std::string::npos) {
        if (!modifier.empty())
            add(name.substr(0, underscore) + modifier);
        add(name.substr(0, underscore));
    }
    return out;
}

LanguageChoice FindUserLanguage(const std::string& domain, const std::string& localeDir,
                                const EnvironmentLookup& getenv) {
    for (const std::string& requested : RequestedLanguages(getenv)) {
        if (IsEnglish(requested))
            return {};
        for (const std::string& folder : LanguageFolders(requested)) {
            const std::string path = localeDir + "/" + folder + "/LC_MESSAGES/" + domain + ".mo";
            if (IsFile(path))
                return {folder, path};
        }
    }
    return {};
}

std::string ProgramLocaleDir() {
    char exe[4096];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        std::string dir(exe, static_cast<std::size_t>(n));
        dir.erase(dir.rfind('/') == std::string::npos ? 0 : dir.rfind('/'));
        const std::string beside = dir + "/../share/locale";
        struct stat st = {};
        if (::stat(beside.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return beside;
    }
    return BRENVO_LOCALEDIR;
}

std::string SelectUserLanguage(const std::string& domain) {
    const LanguageChoice choice =
        FindUserLanguage(domain, ProgramLocaleDir(), [](const char* n) { return std::getenv(n); });
    auto catalogue = std::make_shared<MessageCatalogue>();
    if (choice.language.empty() || !catalogue->ReadFile(choice.catalogue) || catalogue->IsEmpty()) {
        UseCatalogue(nullptr, "");
        return "";
    }
    UseCatalogue(std::move(catalogue), choice.language);
    return choice.language;
}

void UseCatalogue(std::shared_ptr<const MessageCatalogue> catalogue, const std::string& language) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_catalogue = std::move(catalogue);
    g_language = g_catalogue ? language : std::string();
}

std::string ShownLanguage() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_language;
}

std::shared_ptr<const MessageCatalogue> ShownCatalogue() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_catalogue;
}

std::string ShownText(const std::string& text) {
    std::shared_ptr<const MessageCatalogue> catalogue;
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        catalogue = g_catalogue;
    }
    return catalogue ? catalogue->Translate(text) : text;
}
