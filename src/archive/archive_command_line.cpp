#include "archive/archive_command_line.h"

namespace Yomibon {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsSwitch(const CommandWord& word) {
    return !word.quoted && word.text.size() > 1 && word.text[0] == '-';
}

// ARCHIVE FOLDER [PATTERN...] from position `at` on.
bool TakeArchiveFolderPatterns(const std::vector<CommandWord>& words, size_t at,
                               ArchiverCommand& out) {
    if (words.size() < at + 2) return false;
    for (size_t i = at; i < words.size(); ++i)
        if (IsSwitch(words[i]) || words[i].text.empty()) return false;
    out.archive = words[at].text;
    out.destination = words[at + 1].text;
    for (size_t i = at + 2; i < words.size(); ++i)
        out.patterns.push_back(words[i].text);
    return true;
}

bool ParseLha(const std::vector<CommandWord>& words, ArchiverCommand& out) {
    if (words.empty() || words[0].text != "x") return false;
    return TakeArchiveFolderPatterns(words, 1, out);
}

bool ParseZip(const std::vector<CommandWord>& words, ArchiverCommand& out) {
    size_t at = 0;
    bool extract = false;
    for (; at < words.size() && IsSwitch(words[at]); ++at) {
        if (words[at].text == "-x")
            extract = true;
        else if (words[at].text != "-s")
            return false;
    }
    return extract && TakeArchiveFolderPatterns(words, at, out);
}

bool ParseSevenZip(const std::vector<CommandWord>& words, ArchiverCommand& out) {
    if (words.empty() || words[0].text != "x") return false;
    bool haveArchive = false;
    for (size_t i = 1; i < words.size(); ++i) {
        const CommandWord& word = words[i];
        if (IsSwitch(word)) {
            if (word.text.compare(0, 2, "-o") != 0 || word.text.size() == 2) return false;
            out.destination = word.text.substr(2);
        } else if (word.text.empty()) {
            return false;
        } else if (!haveArchive) {
            out.archive = word.text;
            haveArchive = true;
        } else {
            out.patterns.push_back(word.text);
        }
    }
    return haveArchive && !out.destination.empty();
}

}  // namespace

bool SplitCommandLine(std::string_view line, std::vector<CommandWord>& words) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        CommandWord word;
        word.quoted = line[i] == '"';
        bool inQuotes = false;
        for (; i < line.size() && (inQuotes || !IsBlank(line[i])); ++i) {
            if (line[i] == '"')
                inQuotes = !inQuotes;
            else
                word.text.push_back(line[i]);
        }
        if (inQuotes) return false;
        words.push_back(std::move(word));
    }
    return true;
}

bool ParseArchiverCommand(ArchiverKind kind, std::string_view line, ArchiverCommand& out) {
    out = ArchiverCommand{};
    std::vector<CommandWord> words;
    if (!SplitCommandLine(line, words)) return false;
    bool ok = false;
    switch (kind) {
        case ArchiverKind::Lha:
            ok = ParseLha(words, out);
            break;
        case ArchiverKind::Zip:
            ok = ParseZip(words, out);
            break;
        case ArchiverKind::SevenZip:
            ok = ParseSevenZip(words, out);
            break;
    }
    if (!ok) out = ArchiverCommand{};
    return ok;
}

}  // namespace Yomibon
