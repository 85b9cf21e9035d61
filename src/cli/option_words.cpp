// Command lines in the programs' own words: value checks that say what was expected, and one-line errors.
#include "cli/option_words.h"

#include <filesystem>

#include "cli/whole_number.h"

namespace krello::cli {
namespace {

std::string inQuotes(const std::string& text) { return "'" + text + "'"; }

// The option a library message starts with ("--scale: ..."), if it names one of the app's.
CLI::Option* leadingOption(CLI::App& app, const std::string& message, std::string& rest) {
    const size_t colon = message.find(": ");
    if (colon == std::string::npos || message.rfind("-", 0) != 0) return nullptr;
    CLI::Option* option = app.get_option_no_throw(message.substr(0, colon));
    if (option != nullptr) rest = message.substr(colon + 2);
    return option;
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
            if (!readWholeNumber(text, lo, hi, v)) return "expected " + range + ", got " + inQuotes(text);
            return {};
        },
        "", range);
}

CLI::Validator existingFile() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            std::error_code e;
            if (std::filesystem::is_regular_file(path, e)) return {};
            if (std::filesystem::exists(path, e)) return inQuotes(path) + " is not a file";
            return "no such file " + inQuotes(path);
        },
        "", "an existing file");
}

CLI::Validator existingFolder() {
    return CLI::Validator(
        [](std::string& path) -> std::string {
            std::error_code e;
            if (std::filesystem::is_directory(path, e)) return {};
            if (std::filesystem::exists(path, e)) return inQuotes(path) + " is not a folder";
            return "no such folder " + inQuotes(path);
        },
        "", "an existing folder");
}

std::string describeParseError(CLI::App& app, const CLI::ParseError& error) {
    const std::string message = error.what();
    std::string rest;
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        if (CLI::Option* option = leadingOption(app, message, rest)) {
            if (rest.find("required") != std::string::npos && rest.find("missing") != std::string::npos)
                return option->get_name() + ": expected " + expectation(*option) + ", got nothing";
        }
        return message;
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) return extras(message);
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) return excludes(message);
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        if (message.find("A subcommand is required") != std::string::npos ||
            message.find("subcommand") != std::string::npos)
            return "a command is required (see --help)";
        return message;
    }
    return message;
}

}  // namespace krello::cli
