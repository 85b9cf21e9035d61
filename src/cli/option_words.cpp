// Command lines in the programs' own words: value checks that say what was expected, and one-line errors.
#include "cli/option_words.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/whole_number.h"
#include "io/shown_text.h"

namespace krello::cli {
namespace {

std::string inQuotes(const std::string& text) { return "'" + io::shownText(text) + "'"; }

// A number written as one ("-" and digits) that lies outside the range, as against a word.
bool wellFormedNumber(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Why a path that should be there is not: a loop of links is named as such, not "no such".
std::string missing(const std::string& path, const char* what) {
    std::error_code e;
    (void)std::filesystem::status(path, e);
    if (e == std::errc::too_many_symbolic_link_levels) return inQuotes(path) + ": too many levels of symbolic links";
    return std::string("no such ") + what + " " + inQuotes(path);
}

// The command the line gave: the app, or the deepest of its subcommands that was named.
CLI::App* givenCommand(CLI::App& app) {
    CLI::App* current = &app;
    while (true) {
        const std::vector<CLI::App*> named = current->get_subcommands();
        if (named.empty()) return current;
        current = named.back();
    }
}

// The option of this name in the command given or the commands above it.
CLI::Option* findOption(CLI::App& app, const std::string& name) {
    for (CLI::App* at = givenCommand(app); at != nullptr; at = at->get_parent())
        if (CLI::Option* option = at->get_option_no_throw(name)) return option;
    return nullptr;
}

// The option a library message starts with ("--scale: ..."), if it names one of the command's.
CLI::Option* leadingOption(CLI::App& app, const std::string& message, std::string& rest) {
    const size_t colon = message.find(": ");
    if (colon == std::string::npos || message.rfind("-", 0) != 0) return nullptr;
    CLI::Option* option = findOption(app, message.substr(0, colon));
    if (option != nullptr) rest = message.substr(colon + 2);
    return option;
}

std::string expectation(CLI::Option& option);

std::string countOf(int n, const std::string& expected) {
    if (n <= 1) return expected;
    return std::to_string(n) + " values (" + expected + ")";
}

// Reading the library's messages: each take* removes what it read from the front of `text`.
bool takeWord(std::string_view& text, std::string_view word) {
    if (!text.starts_with(word)) return false;
    text.remove_prefix(word.size());
    return true;
}

bool takeDigits(std::string_view& text, std::string& digits) {
    size_t n = 0;
    while (n < text.size() && n < 9 && text[n] >= '0' && text[n] <= '9') ++n;
    if (n == 0) return false;
    digits.assign(text.substr(0, n));
    text.remove_prefix(n);
    return true;
}

// "[At least |exactly |At Most ]N required but received G", the form after the option's name.
bool countMessage(std::string_view text, std::string_view kind, std::string& wanted, std::string& got) {
    return takeWord(text, kind) && takeDigits(text, wanted) && takeWord(text, " required but received ") &&
           takeDigits(text, got) && text.empty();
}

// "Expected exactly|at least N arguments to NAME, got G", the form naming no option first: put
// into the form after an option's name, with the option's name in `name`.
bool argumentsMessage(std::string_view text, std::string& name, std::string& rest) {
    std::string wanted, got;
    std::string_view kind;
    if (!takeWord(text, "Expected ")) return false;
    if (takeWord(text, "exactly ")) kind = "exactly ";
    else if (takeWord(text, "at least ")) kind = "At least ";
    else return false;
    if (!takeDigits(text, wanted) || !takeWord(text, " arguments to ")) return false;
    const size_t comma = text.find(", got ");
    if (comma == std::string_view::npos || comma == 0) return false;
    name.assign(text.substr(0, comma));
    text.remove_prefix(comma + 6);
    if (!takeDigits(text, got) || !text.empty()) return false;
    rest = std::string(kind) + wanted + " required but received " + got;
    return true;
}

// The library's "wrong number of values" messages in our words.
std::string mismatch(CLI::App& app, const std::string& message) {
    std::string rest;
    CLI::Option* option = leadingOption(app, message, rest);
    std::string named;
    if (option == nullptr && argumentsMessage(message, named, rest)) option = findOption(app, named);
    if (option == nullptr) return message;
    const std::string name = option->get_name();
    const std::string expected = expectation(*option);
    std::string_view missing = rest;
    std::string wanted, got;
    if (takeDigits(missing, wanted) && takeWord(missing, " required ") && missing.ends_with("missing"))
        return name + ": expected " + expected + ", got nothing";
    if (countMessage(rest, "At least ", wanted, got) || countMessage(rest, "exactly ", wanted, got))
        return name + ": expected " + countOf(std::stoi(wanted), expected) + ", got " +
               (got == "0" ? std::string("nothing") : got);
    if (countMessage(rest, "At Most ", wanted, got))
        return name + ": expected at most " + countOf(std::stoi(wanted), expected) + ", got " + got;
    return name + ": " + rest;
}

// The commands a command offers, "dump or sheet".
std::string commandChoices(CLI::App& command) {
    std::vector<std::string> names;
    for (CLI::App* sub : command.get_subcommands({}))
        if (!sub->get_name().empty()) names.push_back(sub->get_name());
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += names[i];
    }
    return text;
}

// The whole command as typed: "krello-tool textures".
std::string commandPath(CLI::App& command) {
    std::string path = command.get_name();
    for (CLI::App* up = command.get_parent(); up != nullptr; up = up->get_parent()) path = up->get_name() + " " + path;
    return path;
}

// What an option's value must be, as its first check says it (the check's name).
std::string expectation(CLI::Option& option) {
    try {
        CLI::Validator* check = option.get_validator(0);
        if (check != nullptr && !check->get_name().empty()) return check->get_name();
    } catch (const CLI::OptionNotFound&) {
    }
    return option.get_type_name().empty() ? "a value" : option.get_type_name();
}

std::string afterPrefix(const std::string& message, const std::string& prefix) {
    return message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : std::string();
}

// "--a excludes --b" -> "--a and --b cannot be used together".
std::string excludes(const std::string& message) {
    const size_t at = message.find(" excludes ");
    if (at == std::string::npos) return message;
    return message.substr(0, at) + " and " + message.substr(at + 10) + " cannot be used together";
}

std::string extras(const std::string& message) {
    std::string words = afterPrefix(message, "The following arguments were not expected: ");
    if (words.empty()) words = afterPrefix(message, "The following argument was not expected: ");
    if (words.empty()) return message;
    const std::string first = words.substr(0, words.find(' '));
    if (first.rfind("-", 0) == 0) return "unknown option " + inQuotes(first) + " (see --help)";
    return "unexpected argument " + inQuotes(first) + " (see --help)";
}

}  // namespace

CLI::Validator wholeNumber(int64_t lo, int64_t hi) {
    const std::string range = wholeNumberRange(lo, hi);
    return CLI::Validator(
        [lo, hi, range](std::string& text) -> std::string {
            int64_t v = 0;
            if (readWholeNumber(text, lo, hi, v)) return {};
            return "expected " + range + ", got " + inQuotes(text) + (wellFormedNumber(text) ? " (out of range)" : "");
        },
        "", range);
}

CLI::Validator existingFile() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            std::error_code e;
            if (std::filesystem::is_regular_file(path, e)) return {};
            if (std::filesystem::exists(path, e)) return inQuotes(path) + " is not a file";
            return missing(path, "file");
        },
        "", "an existing file");
}

CLI::Validator existingFolder() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            std::error_code e;
            if (std::filesystem::is_directory(path, e)) return {};
            if (std::filesystem::exists(path, e)) return inQuotes(path) + " is not a folder";
            return missing(path, "folder");
        },
        "", "an existing folder");
}

namespace {

std::string parseErrorWords(CLI::App& app, const CLI::ParseError& error) {
    const std::string message = error.what();
    std::string rest;
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) return mismatch(app, message);
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) return extras(message);
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) return excludes(message);
    if (dynamic_cast<const CLI::RequiresError*>(&error) != nullptr) {
        const size_t at = message.find(" requires ");
        if (at != std::string::npos) return message.substr(0, at) + " needs " + message.substr(at + 10) + " as well";
        return message;
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        if (message.find("subcommand") != std::string::npos) {
            CLI::App& command = *givenCommand(app);
            if (&command == &app) return "a command is required (see --help)";
            return command.get_name() + ": which one? " + commandChoices(command) + " (see " + commandPath(command) +
                   " --help)";
        }
        const std::string_view required = " is required";
        if (message.ends_with(required) && message.size() > required.size() &&
            message.find_first_of(" \t") == message.size() - required.size())
            return message.substr(0, message.size() - required.size()) + " must be given";
        return message;
    }
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr || dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) {
        if (CLI::Option* option = leadingOption(app, message, rest)) {
            if (rest.find("Could not convert") != std::string::npos || rest.find("Value ") == 0)
                return option->get_name() + ": expected " + expectation(*option);
        }
        return message;
    }
    return message;
}

}  // namespace

// The parser's own messages echo a bad argument as it came, control characters and all.
// The parser's own "could not convert" message echoes the bad value whole, so when it comes
// through unworded it is bounded as a whole; the other messages are our checks' own words.
std::string describeParseError(CLI::App& app, const CLI::ParseError& error) {
    const std::string words = parseErrorWords(app, error);
    constexpr size_t MOST_UNWORDED_CHARACTERS = 96;
    if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr && words == error.what())
        return io::shownText(words, MOST_UNWORDED_CHARACTERS);
    return io::escapedText(words);
}

namespace {

class OurHelp final : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* opt) const override {
        if (!opt->get_option_text().empty()) return " " + opt->get_option_text();
        if (opt->get_type_size() == 0 || opt->get_type_name().empty()) return {};
        return " " + opt->get_type_name();
    }
    std::string make_option_desc(const CLI::Option* opt) const override {
        std::string text = opt->get_description();
        const auto names = [](const std::set<CLI::Option*>& options) {
            std::vector<std::string> sorted;  // a set of pointers has no order worth showing
            for (const CLI::Option* o : options) sorted.push_back(o->get_name());
            std::sort(sorted.begin(), sorted.end());
            std::string list;
            for (const std::string& name : sorted) list += (list.empty() ? "" : ", ") + name;
            return list;
        };
        std::string notes;
        if (opt->get_required()) notes = "required";
        if (!opt->get_needs().empty()) notes += (notes.empty() ? "" : "; ") + std::string("needs ") + names(opt->get_needs());
        if (!opt->get_excludes().empty())
            notes += (notes.empty() ? "" : "; ") + std::string("not with ") + names(opt->get_excludes());
        if (!notes.empty()) text += " (" + notes + ")";
        return text;
    }
};

}  // namespace

void useOurHelp(CLI::App& app) { app.formatter(std::make_shared<OurHelp>()); }

}  // namespace krello::cli
