#include "platform/ui/FileDialogRules.h"

#include <string>
#include <vector>

namespace {
std::vector<std::string> SplitBars(const std::string& s) {
    std::vector<std::string> parts;
    std::string current;
    for (char ch : s) {
        if (ch == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current.push_back(ch);
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}
}  // namespace

CString ConvertFileFilter(const char* windowsFilter) {
    if (!windowsFilter)
        return CString();
    const std::vector<std::string> parts = SplitBars(windowsFilter);
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string description = Trim(parts[i]);
        if (description.empty())
            continue;
        // Patterns: ';' separated on Windows, blank separated here; "*.*" matches every file.
        std::string patterns;
        std::string pattern;
        const std::string patternList = parts[i + 1] + ";";
        for (char ch : patternList) {
            if (ch == ';') {
                pattern = Trim(pattern);
                if (pattern == "*.*")
                    pattern = "*";
                if (!pattern.empty()) {
                    if (!patterns.empty())
                        patterns += ' ';
                    patterns += pattern;
                }
                pattern.clear();
            } else {
                pattern.push_back(ch);
            }
        }
        if (patterns.empty())
            continue;
        // The toolkit reads the patterns from the parentheses at the end of the description.
        std::string name = description;
        const auto open = name.rfind('(');
        if (open != std::string::npos && name.back() == ')')
            name = Trim(name.substr(0, open));
        if (!out.empty())
            out += ";;";
        out += name + " (" + patterns + ")";
    }
    return CString(out);
}

CString NormalizeDefaultExtension(const char* defExt) {
    std::string ext = defExt ? defExt : "";
    while (!ext.empty() && ext[0] == '.')
        ext.erase(0, 1);
    return CString(ext);
}

CString AppendDefaultExtension(const CString& path, const char* defExt) {
    const CString ext = NormalizeDefaultExtension(defExt);
    if (ext.IsEmpty() || path.IsEmpty())
        return path;
    const std::string& p = path.str();
    const auto slash = p.rfind('/');
    const std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos)
        return path;
    return path + "." + ext;
}
