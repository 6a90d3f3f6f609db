// The `.reg` text form of a registry hive: a pure parser and writer, no file access.
#include "HiveFile.h"

#include <unordered_map>

namespace hivefile {

namespace {

// ---------------------------------------------------------------- helpers

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

// A line ending in a backslash would join the line after it when read again.
bool EndsInJoin(std::string_view text)
{
    text = TrimRight(text);
    return !text.empty() && text.back() == '\\';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool StartsWithFolded(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// Reads a quoted text starting at s[0] == '"'; escapes \\ \" \n \r \0.
// On success returns the text and leaves s just past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view& s)
{
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    std::string out;
    std::size_t i = 1;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= s.size())
                return std::nullopt;
            switch (s[i + 1]) {
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case '0': out += '\0'; break;
            default: return std::nullopt;
            }
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    return std::nullopt;
}

void WriteQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\0': out += "\\0"; break;
        default: out += c;
        }
    }
    out += '"';
}

// "hex:" or "hex(<type>):" followed by comma-separated bytes; blanks and line
// joins between bytes are allowed. The text has had its continuations joined.
bool ReadHex(std::string_view s, Value& value)
{
    if (!StartsWithFolded(s, "hex"))
        return false;
    s.remove_prefix(3);
    std::uint32_t type = TypeBinary;
    if (!s.empty() && s.front() == '(') {
        s.remove_prefix(1);
        std::uint64_t n = 0;
        std::size_t digits = 0;
        while (!s.empty() && HexDigit(s.front()) >= 0) {
            n = n * 16 + static_cast<std::uint64_t>(HexDigit(s.front()));
            if (++digits > 8)
                return false;
            s.remove_prefix(1);
        }
        if (digits == 0 || s.empty() || s.front() != ')')
            return false;
        s.remove_prefix(1);
        type = static_cast<std::uint32_t>(n);
    }
    if (s.empty() || s.front() != ':')
        return false;
    s.remove_prefix(1);
    std::string bytes;
    s = TrimLeft(s);
    while (!s.empty()) {
        if (s.size() < 2 || HexDigit(s[0]) < 0 || HexDigit(s[1]) < 0)
            return false;
        bytes += static_cast<char>(HexDigit(s[0]) * 16 + HexDigit(s[1]));
        s = TrimLeft(s.substr(2));
        if (s.empty())
            break;
        if (s.front() != ',')
            return false;
        s = TrimLeft(s.substr(1));
        if (s.empty())
            return false; // a trailing comma with nothing after it
    }
    value.type = type;
    value.spelling = Spelling::Hex;
    value.bytes = std::move(bytes);
    return true;
}

// A value line: "name"=data or @=data. `joined` has continuations joined.
std::optional<Value> ReadValue(std::string_view line)
{
    Value value;
    std::string_view s = line;
    if (s.front() == '@') {
        s.remove_prefix(1);
    } else {
        auto name = ReadQuoted(s);
        if (!name)
            return std::nullopt;
        value.name = std::move(*name);
    }
    s = TrimLeft(s);
    if (s.empty() || s.front() != '=')
        return std::nullopt;
    s = TrimRight(TrimLeft(s.substr(1)));
    if (s.empty())
        return std::nullopt;
    if (s.front() == '"') {
        auto text = ReadQuoted(s);
        if (!text || !TrimLeft(s).empty())
            return std::nullopt;
        value.type = TypeString;
        value.spelling = Spelling::Text;
        value.bytes = std::move(*text);
        return value;
    }
    if (StartsWithFolded(s, "dword:")) {
        s.remove_prefix(6);
        if (s.empty() || s.size() > 8)
            return std::nullopt;
        std::uint32_t n = 0;
        for (const char c : s) {
            if (HexDigit(c) < 0)
                return std::nullopt;
            n = n * 16 + static_cast<std::uint32_t>(HexDigit(c));
        }
        value.type = TypeDWord;
        value.spelling = Spelling::DWord;
        value.number = n;
        return value;
    }
    if (ReadHex(s, value))
        return value;
    return std::nullopt;
}

std::string ValueLine(const Value& value);

bool ValidKeyPath(std::string_view path)
{
    if (path.empty() || path.front() == '\\' || path.front() == '-' || path.back() == '\\')
        return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == 0x7f)
            return false;
        if (c == '\\' && i + 1 < path.size() && path[i + 1] == '\\')
            return false;
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at text[at] and its code point,
// or 0 when the bytes there are not one (overlong forms and surrogates included).
std::size_t ReadUtf8(std::string_view text, std::size_t at, std::uint32_t& cp)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length;
    std::uint32_t minimum;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        cp = cp << 6 | (byte(at + i) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
        return 0;
    return length;
}

bool StartsWithUtf16Mark(std::string_view bytes) { return bytes.substr(0, 2) == "\xFF\xFE"; }

} // namespace

// ---------------------------------------------------------------- encodings

std::string FileText(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return std::string(bytes.substr(3));
    if (!StartsWithUtf16Mark(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() / 2 + bytes.size() / 8);
    auto unit = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    std::size_t i = 2;
    while (i + 1 < bytes.size()) {
        const std::uint32_t first = unit(i);
        i += 2;
        if (first >= 0xD800 && first < 0xDC00 && i + 1 < bytes.size() && unit(i) >= 0xDC00 && unit(i) < 0xE000) {
            AppendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (unit(i) - 0xDC00));
            i += 2;
        } else if (first >= 0xDC80 && first < 0xDD00) {
            out += static_cast<char>(first - 0xDC00); // a byte that was not UTF-8 (Utf16FileBytes)
        } else if (first >= 0xD800 && first < 0xE000) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, first);
        }
    }
    if (i < bytes.size())
        AppendUtf8(out, 0xFFFD); // half a character at the end
    return out;
}

std::string Utf16FileBytes(std::string_view utf8)
{
    std::string out = "\xFF\xFE";
    out.reserve(2 + utf8.size() * 2 + utf8.size() / 8);
    auto put = [&](std::uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (utf8[i] == '\n') {
            put('\r');
            put('\n');
            ++i;
            continue;
        }
        std::uint32_t cp = 0;
        const std::size_t length = ReadUtf8(utf8, i, cp);
        if (length == 0) {
            put(0xDC00 + static_cast<unsigned char>(utf8[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
        i += length;
    }
    return out;
}

// ---------------------------------------------------------------- text values

std::string Utf16LeToUtf8(std::string_view bytes)
{
    std::string out;
    std::size_t i = 0;
    auto unit = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    while (i + 1 < bytes.size()) {
        std::uint32_t cp = unit(i);
        i += 2;
        if (cp == 0)
            break; // the stored text ends at its terminating NUL
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < bytes.size()) {
            const std::uint32_t low = unit(i);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

// ---------------------------------------------------------------- parsing

std::vector<std::string_view> LogicalLines(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view first = TrimLeft(TrimRight(text.substr(start, end - start)));
        if (!first.empty() && (first.front() == '"' || first.front() == '@')) {
            // As Parse joins them: more hex data after a line that ends in a backslash.
            std::string_view last = first;
            while (!last.empty() && last.back() == '\\' && end < text.size()) {
                const std::size_t nextEnd = std::min(text.find('\n', end + 1), text.size());
                const std::string_view next = TrimLeft(TrimRight(text.substr(end + 1, nextEnd - end - 1)));
                if (next.empty() || HexDigit(next.front()) < 0)
                    break;
                last = next;
                end = nextEnd;
            }
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

bool DefinesValue(std::string_view piece, std::string_view name)
{
    std::string joined;
    for (std::size_t start = 0; start <= piece.size();) {
        const std::size_t end = std::min(piece.find('\n', start), piece.size());
        if (!joined.empty() && joined.back() == '\\')
            joined.pop_back();
        joined += TrimLeft(TrimRight(piece.substr(start, end - start)));
        start = end + 1;
    }
    if (joined.empty() || (joined.front() != '"' && joined.front() != '@'))
        return false;
    const auto value = ReadValue(joined);
    return value && SameName(value->name, name);
}

std::optional<Hive> Parse(std::string_view text)
{
    std::string decoded;
    if (StartsWithUtf16Mark(text)) {
        decoded = FileText(text);
        text = decoded;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    Hive hive;
    bool headerSeen = false;
    Section* current = nullptr;
    std::size_t currentIndex = 0;
    std::unordered_map<std::string, std::size_t> sectionIndex;
    // Per section: folded value name -> position of the entry that holds it.
    std::vector<std::unordered_map<std::string, std::size_t>> valueIndex;

    std::size_t pos = 0;
    auto nextLine = [&]() {
        const std::size_t end = text.find('\n', pos);
        std::string_view line = end == std::string_view::npos ? text.substr(pos)
                                                              : text.substr(pos, end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    };

    while (pos < text.size()) {
        const std::string_view raw = nextLine();
        const std::string_view line = TrimLeft(TrimRight(raw));
        if (line.empty())
            continue;
        if (!headerSeen) {
            if (line != Header && line != "REGEDIT4")
                return std::nullopt;
            headerSeen = true;
            continue;
        }

        if (line.front() == '[' && line.back() == ']') {
            const std::string_view path = line.substr(1, line.size() - 2);
            if (ValidKeyPath(path)) {
                const std::string folded = FoldName(path);
                auto found = sectionIndex.find(folded);
                if (found == sectionIndex.end()) {
                    found = sectionIndex.emplace(folded, hive.sections.size()).first;
                    hive.sections.push_back(Section{std::string(path), {}});
                    valueIndex.emplace_back();
                }
                currentIndex = found->second;
                current = &hive.sections[currentIndex];
                continue;
            }
        }

        // Continuation lines of a hex value end in a backslash.
        std::string joined(line);
        std::string original(raw);
        if (line.front() == '"' || line.front() == '@') {
            while (!joined.empty() && joined.back() == '\\' && pos < text.size()) {
                const std::size_t before = pos;
                const std::string_view next = nextLine();
                const std::string_view more = TrimLeft(TrimRight(next));
                // Only more hex data continues a value; anything else starts a line of its own.
                if (more.empty() || HexDigit(more.front()) < 0) {
                    pos = before;
                    break;
                }
                joined.pop_back();
                joined += more;
                original += '\n';
                original += next;
            }
        }

        std::optional<Value> value;
        if (current && (line.front() == '"' || line.front() == '@'))
            value = ReadValue(joined);
        if (!value) {
            // Runs of such lines share one entry, so a file of short garbage
            // lines costs little more memory than its text.
            if (!current) {
                if (hive.preamble.empty() || EndsInJoin(hive.preamble.back()))
                    hive.preamble.emplace_back();
                else
                    hive.preamble.back() += '\n';
                hive.preamble.back() += original;
            } else if (auto* run = current->entries.empty() ? nullptr : std::get_if<Verbatim>(&current->entries.back());
                       run && !EndsInJoin(run->text)) {
                run->text += '\n';
                run->text += original;
            } else {
                current->entries.push_back(Verbatim{std::move(original)});
            }
            continue;
        }

        auto& index = valueIndex[currentIndex];
        const std::string folded = FoldName(value->name);
        if (const auto found = index.find(folded); found != index.end()) {
            // As on import, the later line wins; the earlier one is kept as text
            // so that nothing typed into the file disappears.
            Entry& earlier = current->entries[found->second];
            earlier = Verbatim{ValueLine(std::get<Value>(earlier))};
        }
        index[folded] = current->entries.size();
        current->entries.push_back(std::move(*value));
    }

    return hive; // blank text is an empty hive
}

// ---------------------------------------------------------------- writing

namespace {

void WriteValue(std::string& out, const Value& value)
{
    if (value.name.empty())
        out += '@';
    else
        WriteQuoted(out, value.name);
    out += '=';
    switch (value.spelling) {
    case Spelling::Text:
        WriteQuoted(out, value.bytes);
        break;
    case Spelling::DWord: {
        static const char digits[] = "0123456789abcdef";
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4)
            out += digits[(value.number >> shift) & 0xF];
        break;
    }
    case Spelling::Hex: {
        static const char digits[] = "0123456789abcdef";
        if (value.type == TypeBinary) {
            out += "hex:";
        } else {
            out += "hex(";
            std::string type;
            std::uint32_t n = value.type;
            do {
                type.insert(type.begin(), digits[n & 0xF]);
                n >>= 4;
            } while (n);
            out += type;
            out += "):";
        }
        // Long data wraps like an exported file: a backslash, then two blanks.
        for (std::size_t i = 0; i < value.bytes.size(); ++i) {
            if (i > 0) {
                out += ',';
                if (i % 25 == 0)
                    out += "\\\n  ";
            }
            const auto b = static_cast<unsigned char>(value.bytes[i]);
            out += digits[b >> 4];
            out += digits[b & 0xF];
        }
        break;
    }
    }
}

std::string ValueLine(const Value& value)
{
    std::string line;
    WriteValue(line, value);
    return line;
}

} // namespace

std::string Serialise(const Hive& hive)
{
    std::string out(Header);
    out += '\n';
    for (const std::string& line : hive.preamble) {
        out += line;
        out += '\n';
        if (EndsInJoin(line))
            out += '\n'; // a blank line keeps it from joining what follows
    }
    for (const Section& section : hive.sections) {
        out += "\n[";
        out += section.path;
        out += "]\n";
        for (const Entry& entry : section.entries) {
            if (const auto* value = std::get_if<Value>(&entry))
                WriteValue(out, *value);
            else
                out += std::get<Verbatim>(entry).text;
            out += '\n';
            if (const auto* text = std::get_if<Verbatim>(&entry); text && EndsInJoin(text->text))
                out += '\n'; // a blank line keeps it from joining what follows
        }
    }
    if (!hive.sections.empty())
        out += '\n'; // regedit ends its export with a blank line
    return out;
}

std::string Export(const Hive& hive)
{
    return Utf16FileBytes(Serialise(hive));
}

} // namespace hivefile
