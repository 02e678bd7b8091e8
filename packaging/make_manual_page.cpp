// make_manual_page: writes a program's manual page from its own --help and --version, so
// the page says what the program says, and from an include file with what --help does not
// hold (port names, files, exit status, examples).
//
//   make_manual_page PROGRAM INCLUDE OUTPUT
//
// The include file has sections "[NAME]", "[DESCRIPTION]", ... each followed by roff
// text; NAME is required, DESCRIPTION goes before the help's text, the others follow in
// their order. Help texts are read in the form every program of ours writes them:
//   usage: prog FORM...          further forms on lines indented 4 or more, each
//                                starting with the program's name
//   Text at the margin.          a paragraph; a line ending in ':' heads a subsection
//     --option ARG  what it does an item: an option (indent 2 to 8) before a gap of two
//                   spaces, or a word (indent 2) whose text is indented further below
//     other text                 kept line by line

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Run(const std::string& command) {
    std::string text;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, n);
    if (pclose(pipe) != 0)
        text.clear();
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::size_t Indent(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Text as roff shows it: a hyphen stays the ASCII one that can be typed, a backslash is
// printed, and nothing at the start of a line reads as a request.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
}

// An item's term: options and words in bold, the placeholders (NAME, FILE) in italics.
std::string Term(const std::string& term) {
    std::string out;
    std::istringstream words(term);
    for (std::string word; words >> word;) {
        bool placeholder = false;
        for (char c : word)
            placeholder = placeholder || std::isupper(static_cast<unsigned char>(c));
        placeholder = placeholder && word[0] != '-';
        out += (out.empty() ? "" : " ") + std::string(placeholder ? "\\fI" : "\\fB") +
               Escape(word) + "\\fR";
    }
    return out;
}

// Where the text of an option item starts, after the option and a gap of two spaces;
// npos when the line is no option item.
std::size_t OptionGap(const std::string& line) {
    const std::size_t indent = Indent(line);
    if (indent < 2 || indent > 8 || indent >= line.size() || line[indent] != '-')
        return std::string::npos;
    const std::size_t gap = line.find("  ", indent);
    if (gap != std::string::npos)
        return gap;
    // An option whose placeholder fills its column: "--calibration W calibration marker".
    const std::size_t space = line.find(' ', indent);
    const std::size_t end = space == std::string::npos ? space : line.find(' ', space + 1);
    if (end == std::string::npos)
        return end;
    for (std::size_t k = space + 1; k < end; ++k) {
        if (!std::isupper(static_cast<unsigned char>(line[k])))
            return std::string::npos;
    }
    return end;
}

// A word at indent 2 whose text follows on lines indented further (vkctl's commands).
bool WordItem(const std::vector<std::string>& lines, std::size_t i) {
    const std::string& line = lines[i];
    if (Indent(line) != 2 || !std::islower(static_cast<unsigned char>(line[2])) ||
        i + 1 >= lines.size())
        return false;
    const std::string& next = lines[i + 1];
    return !Trim(next).empty() && Indent(next) > 2 && OptionGap(next) == std::string::npos;
}

struct Include {
    std::string name;
    std::string description;
    std::vector<std::pair<std::string, std::string>> sections; // the rest, in order
};

bool ReadInclude(const std::string& path, Include* include) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string section;
    std::string* body = nullptr;
    for (std::string line; std::getline(in, line);) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            if (section == "NAME")
                body = &include->name;
            else if (section == "DESCRIPTION")
                body = &include->description;
            else
                body = &include->sections.emplace_back(section, "").second;
        } else if (body && !line.empty()) {
            *body += line + "\n";
        }
    }
    return !include->name.empty();
}

// The synopsis forms ("usage: prog ...", continued) and the index of the first line after.
std::size_t Synopsis(const std::vector<std::string>& lines, const std::string& program,
                     std::string* roff) {
    std::size_t i = 0;
    if (lines.empty() || (!StartsWith(lines[0], "usage: ") && !StartsWith(lines[0], "Usage: ")))
        return 0;
    std::vector<std::string> forms{Trim(lines[0].substr(7))};
    for (i = 1; i < lines.size() && Indent(lines[i]) >= 4 && !Trim(lines[i]).empty(); ++i) {
        const std::string line = Trim(lines[i]);
        if (StartsWith(line, program + " "))
            forms.push_back(line);
        else
            forms.back() += " " + line;
    }
    for (std::size_t f = 0; f < forms.size(); ++f) {
        const std::string& form = forms[f];
        const std::string rest =
            StartsWith(form, program) ? Trim(form.substr(program.size())) : form;
        *roff +=
            (f ? ".br\n" : "") + std::string(".B ") + Escape(program) + "\n" + Escape(rest) + "\n";
    }
    return i;
}

// The roff of help lines [i, end).
std::string Body(const std::vector<std::string>& lines, std::size_t i, std::size_t end) {
    std::string roff;
    bool inParagraph = false; // text at the margin goes on in the same paragraph
    while (i < end) {
        const std::string& line = lines[i];
        const std::size_t indent = Indent(line);
        const std::string text = Trim(line);
        if (text.empty()) {
            inParagraph = false;
            ++i;
            continue;
        }
        const bool wordItem = WordItem(lines, i);
        const std::size_t gap = OptionGap(line);
        if (gap != std::string::npos || wordItem) {
            const std::string term = wordItem ? text : Trim(line.substr(0, gap));
            std::string description = wordItem ? "" : Trim(line.substr(gap));
            for (++i; i < end && Indent(lines[i]) > indent && !Trim(lines[i]).empty() &&
                      OptionGap(lines[i]) == std::string::npos;
                 ++i)
                description += (description.empty() ? "" : "\n") + Trim(lines[i]);
            roff += ".TP\n" + Term(term) + "\n";
            for (const std::string& d : Lines(description))
                roff += Escape(d) + "\n";
            inParagraph = false;
            continue;
        }
        if (indent == 0 && text.back() == ':') {
            std::string heading = text.substr(0, text.size() - 1);
            heading[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(heading[0])));
            roff += ".SS \"" + Escape(heading) + "\"\n";
            inParagraph = false;
        } else if (indent == 0) {
            roff += (inParagraph ? "" : ".PP\n") + Escape(text) + "\n";
            inParagraph = true;
        } else {
            // Indented notes keep their lines, as --help shows them.
            roff += (inParagraph ? ".br\n" : ".PP\n") + Escape(text) + "\n";
            inParagraph = true;
        }
        ++i;
    }
    return roff;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The page's date: the build's SOURCE_DATE_EPOCH where it is set, so a rebuild of the same
// sources makes the same page, else today.
std::string PageDate() {
    std::time_t when = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"))
        when = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    char text[32];
    std::tm utc{};
    gmtime_r(&when, &utc);
    std::strftime(text, sizeof text, "%Y-%m-%d", &utc);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_manual_page PROGRAM INCLUDE OUTPUT\n");
        return 2;
    }
    const std::string path = argv[1];
    const std::string program = path.substr(path.find_last_of('/') + 1);
    Include include;
    if (!ReadInclude(argv[2], &include)) {
        std::fprintf(stderr, "make_manual_page: %s: no [NAME] section\n", argv[2]);
        return 1;
    }
    // Neither answer may need a display.
    const std::string quiet = " 2>/dev/null </dev/null";
    const std::string help = Run("'" + path + "' --help" + quiet);
    const std::vector<std::string> version = Lines(Run("'" + path + "' --version" + quiet));
    if (help.empty() || version.empty()) {
        std::fprintf(stderr, "make_manual_page: %s did not answer --help and --version\n",
                     path.c_str());
        return 1;
    }
    // "vkctl (Korvel sensor tools) 1.0.1": the page's footer names the package's version.
    const std::string source = version[0].substr(version[0].find(' ') + 1);
    const std::vector<std::string> lines = Lines(help);

    std::string page = ".TH " + Upper(program) + " 1 \"" + PageDate() + "\" \"" + Escape(source) +
                       "\" \"User Commands\"\n";
    page += ".SH NAME\n" + include.name;
    std::string synopsis;
    const std::size_t bodyStart = Synopsis(lines, program, &synopsis);
    if (!synopsis.empty())
        page += ".SH SYNOPSIS\n" + synopsis;
    // The help's opening paragraphs say what the program is; the include's description
    // goes on from there, before the options and commands.
    std::size_t lead = bodyStart;
    while (lead < lines.size() && Indent(lines[lead]) == 0 &&
           (lines[lead].empty() || lines[lead].back() != ':'))
        ++lead;
    page += ".SH DESCRIPTION\n" + Body(lines, bodyStart, lead) + include.description +
            Body(lines, lead, lines.size());
    for (const auto& [name, body] : include.sections)
        page += ".SH \"" + name + "\"\n" + body;

    const std::string output = argv[3];
    const std::string partial = output + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << page;
        if (!out.flush()) {
            std::fprintf(stderr, "make_manual_page: cannot write %s\n", partial.c_str());
            return 1;
        }
    }
    if (std::rename(partial.c_str(), output.c_str()) != 0) {
        std::fprintf(stderr, "make_manual_page: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
