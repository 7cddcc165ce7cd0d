#include "cli/ParserTexts.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <vector>

#include "cli/Console.h"
#include "cli/Texts.h"
#include "platform/os/FormatPattern.h"

namespace {

// The parser's own words in its help, and the type names shown after an option.
constexpr const char* kLabels[] = {
    N_("Usage"), N_("OPTIONS"), N_("SUBCOMMAND"), N_("Positionals"), N_("REQUIRED"), N_("Excludes"),
    N_("TEXT"),  N_("INT"),     N_("PORT"),       N_("N"),           N_("CELSIUS")};
constexpr char kOptionsGroup[] = N_("Options");
constexpr char kCommandsGroup[] = N_("Subcommands");
constexpr char kHelpHelp[] = N_("Print this help message and exit");

// The parser's error messages as printf formats of what it writes, the more particular first.
constexpr const char* kParseErrors[] = {
    N_("The following argument was not expected: %s"),
    N_("The following arguments were not expected: %s"),
    N_("A subcommand is required"),
    N_("%s is required"),
    N_("%s: Value %s not in range %s to %s"),
    N_("%s: %s not in {%s}"),
    N_("%s: %s required %s missing"),
    N_("%s: At Most %s required but received %s"),
    N_("%s: At least %s required but received %s"),
    N_("%s excludes %s"),
    N_("%s requires %s"),
    N_("The value %s is not an allowed value for %s"),
    N_("Could not convert: %s = %s"),
    N_("%s: too many inputs for a flag"),
};

// The parser's layout, with the name column padded by display width: a translated label or
// description may hold characters of several bytes.
class SaidFormatter : public CLI::Formatter {
public:
    std::string make_option(const CLI::Option* option, bool positional) const override {
        return Row(make_option_name(option, positional) + make_option_opts(option),
                   make_option_desc(option));
    }
    std::string make_subcommand(const CLI::App* command) const override {
        return Row(command->get_display_name(true), command->get_description());
    }

private:
    std::string Row(const std::string& name, const std::string& description) const {
        const std::string left = "  " + name;
        std::string row = PaddedTo(left, column_width_);
        if (!description.empty()) {
            if (DisplayWidth(left) >= column_width_) {
                row += "\n" + std::string(column_width_, ' ');
            }
            for (const char c : description) {
                row += c;
                if (c == '\n') {
                    row += std::string(column_width_, ' ');
                }
            }
        }
        return row + "\n";
    }
};

}  // namespace

void SayHelp(CLI::App& app) {
    auto formatter = std::make_shared<SaidFormatter>();
    for (const char* label : kLabels) {
        formatter->label(label, Said(label));
    }
    app.formatter(formatter);
    app.option_defaults()->group(Said(kOptionsGroup));
    SayCommand(app);
}

void SayCommand(CLI::App& command) {
    command.group(Said(kCommandsGroup));
    // Made anew, so that it joins the group of the options in the user's language.
    command.set_help_flag("-h,--help", Said(kHelpHelp));
}

std::string SaidName(const char* name) {
    const std::string said = Said(name);
    return CLI::detail::valid_name_string(said) ? said : name;
}

std::string SaidParseError(const std::string& what) {
    std::vector<std::string> parts;
    for (const char* form : kParseErrors) {
        if (MatchFormat(form, what, parts)) {
            const std::string said = Said(form);
            return SameConversions(form, said) ? FillFormat(said, parts) : what;
        }
    }
    return what;
}
