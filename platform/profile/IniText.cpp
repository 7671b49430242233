#include "platform/profile/IniText.h"

#include <cstddef>
#include <vector>

namespace krn310 {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

enum class LineKind { Other, Section, Key };

struct Line {
    std::size_t begin = 0;    // offset of the line in the text
    std::size_t end = 0;      // offset after the content, before the line break
    std::size_t next = 0;     // offset of the next line
    LineKind kind = LineKind::Other;
    std::string_view name;    // section or key name, trimmed
    std::string_view value;   // key value, trimmed, quotes still on
};

Line ParseLine(std::string_view text, std::size_t begin)
{
    Line line;
    line.begin = begin;
    const std::size_t lf = text.find('\n', begin);
    line.next = lf == std::string_view::npos ? text.size() : lf + 1;
    line.end = lf == std::string_view::npos ? text.size() : lf;
    if (line.end > begin && text[line.end - 1] == '\r')
        --line.end;

    std::string_view content = text.substr(begin, line.end - begin);
    if (begin == 0 && content.starts_with(kUtf8Bom))
        content.remove_prefix(kUtf8Bom.size());
    content = Trim(content);

    if (content.empty() || content.front() == ';')
        return line;
    if (content.front() == '[') {
        content.remove_prefix(1);
        const std::size_t close = content.find(']');
        line.kind = LineKind::Section;
        line.name = Trim(content.substr(0, close));
        return line;
    }
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos)
        return line;
    line.kind = LineKind::Key;
    line.name = Trim(content.substr(0, eq));
    line.value = Trim(content.substr(eq + 1));
    return line;
}

std::vector<Line> ParseLines(std::string_view text)
{
    std::vector<Line> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        lines.push_back(ParseLine(text, pos));
        pos = lines.back().next;
    }
    return lines;
}

// Where the section's lines are: the header's index and one past its last line.
struct SectionSpan {
    std::size_t header = 0;
    std::size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !EqualIgnoringCase(lines[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Section)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::string_view LineBreakOf(std::string_view text)
{
    const std::size_t lf = text.find('\n');
    if (lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r')
        return "\r\n";
    return "\n";
}

// What ends the text's last line before more is appended. A last line ending
// in a bare CR only needs its LF: another CR would stay in that line's value.
std::string BreakToEnd(std::string_view text, std::string_view lineBreak)
{
    if (text.ends_with('\n'))
        return {};
    if (text.ends_with('\r'))
        return "\n";
    return std::string(lineBreak);
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool StorableNames(std::string_view section, std::string_view key)
{
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key))
        return false;
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos)
        return false;
    return key.front() != ';' && key.front() != '[';
}

std::string EncodeValue(std::string_view value)
{
    if (Trim(value) != value || IsQuoted(value))
        return '"' + std::string(value) + '"';
    return std::string(value);
}

std::string KeyLine(std::string_view key, std::string_view encodedValue)
{
    return std::string(key) + '=' + std::string(encodedValue);
}

} // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key)
{
    section = Trim(section);
    key = Trim(key);
    const std::vector<Line> lines = ParseLines(text);
    const std::optional<SectionSpan> span = FindSection(lines, section);
    if (!span)
        return std::nullopt;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const Line& line = lines[i];
        if (line.kind != LineKind::Key || !EqualIgnoringCase(line.name, key))
            continue;
        std::string_view value = line.value;
        if (IsQuoted(value))
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

std::optional<std::string> SetIniValue(std::string_view text, std::string_view section,
                                       std::string_view key, std::string_view value)
{
    section = Trim(section);
    key = Trim(key);
    if (!StorableNames(section, key) || HasLineBreak(value))
        return std::nullopt;

    const std::string_view lineBreak = LineBreakOf(text);
    const std::string encoded = EncodeValue(value);
    const std::vector<Line> lines = ParseLines(text);
    const std::optional<SectionSpan> span = FindSection(lines, section);
    std::string result;

    if (!span) {
        result = text;
        if (!result.empty())
            result += BreakToEnd(result, lineBreak);
        result += '[';
        result += section;
        result += ']';
        result += lineBreak;
        result += KeyLine(key, encoded);
        result += lineBreak;
        return result;
    }

    std::size_t lastKey = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const Line& line = lines[i];
        if (line.kind != LineKind::Key)
            continue;
        if (EqualIgnoringCase(line.name, key)) {
            // The stored spelling of the name stays; only the value changes.
            result = text.substr(0, line.begin);
            result += KeyLine(line.name, encoded);
            result += text.substr(line.end);
            return result;
        }
        lastKey = i;
    }

    // A new key goes after the section's last key, ahead of any blank lines or
    // comments that lead into the next section.
    const Line& after = lines[lastKey];
    result = text.substr(0, after.next);
    result += after.next == 0 ? std::string(lineBreak) : BreakToEnd(result, lineBreak);
    result += KeyLine(key, encoded);
    result += lineBreak;
    result += text.substr(after.next);
    return result;
}

} // namespace krn310
