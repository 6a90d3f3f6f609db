// The `.reg` text form of a registry hive: a pure parser and writer, no file access.
#pragma once

#include "RegistryNames.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hivefile {

// Registry type numbers as the `hex(<n>):` spelling writes them.
enum : std::uint32_t {
    TypeNone = 0,
    TypeString = 1,
    TypeExpandString = 2,
    TypeBinary = 3,
    TypeDWord = 4,
    TypeMultiString = 7,
    TypeQWord = 11,
};

// How a value is spelt in the file; kept so hand-written values come back as they were.
enum class Spelling {
    Text,  // "name"="text"          bytes hold the UTF-8 text (unescaped)
    DWord, // "name"=dword:0000000a  number holds the value
    Hex,   // "name"=hex(<type>):..  bytes hold the raw data
};

struct Value
{
    std::string name; // "" is the key's default value, written as @
    std::uint32_t type = TypeString;
    Spelling spelling = Spelling::Text;
    std::string bytes;
    std::uint32_t number = 0;
};

// Lines inside a section that are not understood: written back exactly as read
// (one entry per run of such lines), so a hand edit is never lost.
struct Verbatim
{
    std::string text;
};

using Entry = std::variant<Value, Verbatim>;

struct Section
{
    std::string path; // as in the brackets, e.g. HKEY_CURRENT_USER\Software\Kalvora
    std::vector<Entry> entries;
};

struct Hive
{
    std::vector<std::string> preamble; // text not understood before the first section
    std::vector<Section> sections;
};

inline constexpr std::string_view Header = "Windows Registry Editor Version 5.00";

// Nothing when the text is not a registry file at all (no header line). The
// text may be UTF-8, with or without a byte-order mark, or UTF-16LE with its
// byte-order mark, as regedit exports it (see FileText).
// Runs in time and memory linear in the text, whatever it holds.
std::optional<Hive> Parse(std::string_view text);
// The hive as UTF-8 text with LF line ends, a blank line after every key.
std::string Serialise(const Hive& hive);
// The bytes of the hive file as regedit exports it: UTF-16LE after a byte-order
// mark, CRLF line ends.
std::string Export(const Hive& hive);

// File bytes in any of the encodings Parse reads, as UTF-8 text; other bytes
// are returned as they are.
std::string FileText(std::string_view bytes);
// UTF-8 text as UTF-16LE with a byte-order mark, every LF written as CRLF.
// Bytes that are not UTF-8 travel as the lone surrogates U+DC80 to U+DCFF,
// which FileText turns back into the same bytes, so nothing read is lost.
std::string Utf16FileBytes(std::string_view utf8);

// Splits Verbatim text into the pieces a reading takes as one line each: a
// line ending in a backslash with the lines of hex data that continue it.
std::vector<std::string_view> LogicalLines(std::string_view text);
// Whether such a piece reads as a value of this name (an earlier line of a
// name that appears twice is kept as Verbatim text).
bool DefinesValue(std::string_view piece, std::string_view name);

using registrynames::FoldName;
using registrynames::SameName;

// REG_SZ spelt as hex(1): UTF-16LE; returns UTF-8 without the terminating NULs.
std::string Utf16LeToUtf8(std::string_view bytes);

} // namespace hivefile
