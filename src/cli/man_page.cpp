// Manual pages written from the same option tables that --help prints.
#include "cli/man_page.h"

#include <cctype>
#include <sstream>

namespace krello::cli {
namespace {

// Text safe for roff: backslashes and minus signs escaped, no line starting with a dot or a quote.
std::string escape(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
        lineStart = c == '\n';
    }
    return out;
}

// Paragraphs: a blank line becomes .PP; the lines between are filled into one paragraph.
std::string paragraphs(const std::string& text) {
    std::string out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) out += line.empty() ? ".PP\n" : escape(line) + "\n";
    return out;
}

bool listed(const CLI::Option* o) { return !o->get_group().empty(); }

// Options by name and placeholder, arguments by name alone; a command's own help flag is left
// out, the program's is listed once.
void writeOptions(std::ostringstream& out, const CLI::App& app, bool withHelp) {
    for (const CLI::Option* o : app.get_options(listed)) {
        if (!withHelp && o == app.get_help_ptr()) continue;
        if (!o->nonpositional()) {
            out << ".TP\n\\fI" << escape(o->get_name()) << "\\fR\n" << escape(o->get_description()) << "\n";
            continue;
        }
        out << ".TP\n\\fB" << escape(o->get_name(false, true)) << "\\fR";
        if (o->get_type_size() != 0 && !o->get_type_name().empty())
            out << " \\fI" << escape(o->get_type_name()) << "\\fR";
        out << "\n" << escape(o->get_description()) << "\n";
    }
}

void writeCommands(std::ostringstream& out, const CLI::App& app, const std::string& path) {
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) {
        const std::string name = path + " " + sub->get_name();
        if (!sub->get_subcommands([](const CLI::App*) { return true; }).empty()) {
            writeCommands(out, *sub, name);
            continue;
        }
        out << ".SS " << escape(name) << "\n" << escape(sub->get_description()) << "\n";
        writeOptions(out, *sub, false);
    }
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string writeManPage(const CLI::App& app, const ManPage& page) {
    std::ostringstream out;
    out << ".TH " << upper(page.name) << " " << page.section << " \"\" \"" << escape(page.version) << "\" \""
        << (page.section == 6 ? "Games" : "User Commands") << "\"\n";
    out << ".SH NAME\n" << escape(page.name) << " \\- " << escape(page.summary) << "\n";
    const bool commands = !app.get_subcommands([](const CLI::App*) { return true; }).empty();
    out << ".SH SYNOPSIS\n.B " << escape(page.name) << "\n" << (commands ? "\\fICOMMAND\\fR " : "")
        << "[\\fIOPTIONS\\fR]\n";
    out << ".SH DESCRIPTION\n" << paragraphs(app.get_description());
    out << ".SH OPTIONS\n";
    writeOptions(out, app, true);
    if (commands) {
        out << ".SH COMMANDS\n";
        writeCommands(out, app, page.name);
    }
    for (const auto& [heading, text] : page.sections) out << ".SH " << upper(heading) << "\n" << paragraphs(text);
    return out.str();
}

}  // namespace krello::cli
