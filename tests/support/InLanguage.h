// The build's catalogue of a language, in use while a test runs; English again after it. The test's
// target defines BRENVO_LOCALE_DIR and depends on brenvo_catalogues.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/os/MessageCatalogue.h"
#include "platform/os/UserLanguage.h"

class InLanguage {
public:
    // "" keeps English.
    explicit InLanguage(const char* language) {
        if (std::string(language).empty())
            return;
        auto catalogue = std::make_shared<MessageCatalogue>();
        const std::string path =
            std::string(BRENVO_LOCALE_DIR) + "/" + language + "/LC_MESSAGES/brenvo.mo";
        EXPECT_TRUE(catalogue->ReadFile(path)) << path;
        UseCatalogue(catalogue, language);
    }
    ~InLanguage() { UseCatalogue(nullptr, ""); }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};
