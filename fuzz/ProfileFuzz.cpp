// Fuzz target: arbitrary bytes as an INI file, then one stored value. The file must come back byte
// for byte, a stored value must read back as stored and nothing else may change, and the written
// text must read again as the held one does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/ProfileText.h"

namespace {

// The input is the file, then NUL-separated: section, key, value, probe section, probe key.
std::vector<std::string_view> Parts(std::string_view data) {
    std::vector<std::string_view> parts;
    for (int i = 0; i < 5; ++i) {
        const size_t nul = data.rfind('\0');
        if (nul == std::string_view::npos) {
            break;
        }
        parts.insert(parts.begin(), data.substr(nul + 1));
        data = data.substr(0, nul);
    }
    parts.insert(parts.begin(), data);
    while (parts.size() < 6) {
        parts.push_back("A");
    }
    return parts;
}

std::optional<std::string> Copy(std::optional<std::string_view> value) {
    return value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
}

std::string Name(std::string_view name) {
    std::string lower(TrimProfileBlanks(name));
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 100000) {
        return 0;
    }
    const auto parts = Parts(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string_view file = parts[0], section = parts[1], key = parts[2], value = parts[3];
    const std::string_view probeSection = parts[4], probeKey = parts[5];

    // Loaded over an earlier file, as a file that changed is read again.
    ProfileText text("[A]\nA=A\n[TABLE0]\n");
    text.Set("TABLE0", "MAX", "1");
    text.Load(file);
    if (text.Text() != file) {
        Fail("an unchanged file does not come back byte for byte");
    }
    const auto before = Copy(text.Find(section, key));
    const auto probeBefore = Copy(text.Find(probeSection, probeKey));
    const ProfileText::SetResult result = text.Set(section, key, value);
    const auto after = Copy(text.Find(section, key));
    if (result != ProfileText::SetResult::Changed) {
        if (text.Text() != file || after != before) {
            Fail("a refused or unchanged value changed the file");
        }
        return 0;
    }
    if (after != std::string(UnquoteProfileValue(TrimProfileBlanks(value)))) {
        Fail("a stored value does not read back");
    }
    const bool sameKey = Name(section) == Name(probeSection) && Name(key) == Name(probeKey);
    if (!sameKey && Copy(text.Find(probeSection, probeKey)) != probeBefore) {
        Fail("storing one value changed another");
    }
    const std::string written = text.Text();
    const ProfileText again(written);
    if (again.Text() != written || Copy(again.Find(section, key)) != after ||
        Copy(again.Find(probeSection, probeKey)) != Copy(text.Find(probeSection, probeKey))) {
        Fail("the written file reads otherwise than the held one");
    }
    if (text.Set(section, key, value) != ProfileText::SetResult::Unchanged) {
        Fail("storing the stored value again changed the file");
    }
    return 0;
}
