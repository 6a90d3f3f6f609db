// Reads the file version an executable carries in its ELF note section .note.sudoku.version.
#include "FileVersion.h"

#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

// The note (written by the build, see platform/FileVersionNote.cpp.in):
// namesz 8, descsz 8, type 1, name "Kalvora\0", then major, minor, release,
// build as four 16-bit numbers in the file's byte order.

namespace {

constexpr char SectionName[] = ".note.sudoku.version";
constexpr char NoteOwner[] = "Kalvora";
constexpr std::uint32_t NoteType = 1;
// Section header tables and the string table are small; anything larger is not
// an executable of ours and is not read into memory.
constexpr std::uint64_t MaximumTable = 1u << 20;

class ElfReader
{
public:
    explicit ElfReader(const std::filesystem::path& path)
        : m_file(path, std::ios::binary)
    {
    }

    bool Read(std::uint64_t offset, std::size_t size, std::string& out)
    {
        out.assign(size, '\0');
        if (!m_file || offset > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max()))
            return false;
        m_file.clear();
        m_file.seekg(static_cast<std::streamoff>(offset));
        m_file.read(out.data(), static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(m_file.gcount()) == size;
    }

private:
    std::ifstream m_file;
};

struct Decoder
{
    bool littleEndian = true;

    std::uint64_t Get(const std::string& data, std::size_t at, std::size_t width) const
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const auto byte = static_cast<unsigned char>(data[at + (littleEndian ? width - 1 - i : i)]);
            value = value << 8 | byte;
        }
        return value;
    }
};

} // namespace

std::optional<std::array<std::uint16_t, 4>> ReadFileVersion(const std::filesystem::path& executable)
{
    ElfReader file(executable);
    std::string header;
    if (!file.Read(0, 64, header) && !file.Read(0, 52, header))
        return std::nullopt;
    if (header.compare(0, 4, "\x7f" "ELF") != 0)
        return std::nullopt;
    const bool is64 = header[4] == 2;
    if (!is64 && header[4] != 1)
        return std::nullopt;
    Decoder d;
    if (header[5] == 2)
        d.littleEndian = false;
    else if (header[5] != 1)
        return std::nullopt;
    if (header.size() < (is64 ? 64u : 52u))
        return std::nullopt;

    const std::size_t word = is64 ? 8 : 4;
    const std::uint64_t sectionTable = d.Get(header, is64 ? 0x28 : 0x20, word);
    const std::uint64_t entrySize = d.Get(header, is64 ? 0x3A : 0x2E, 2);
    const std::uint64_t sectionCount = d.Get(header, is64 ? 0x3C : 0x30, 2);
    const std::uint64_t namesIndex = d.Get(header, is64 ? 0x3E : 0x32, 2);
    const std::uint64_t minimumEntry = is64 ? 64 : 40;
    if (entrySize < minimumEntry || sectionCount == 0 || namesIndex >= sectionCount ||
        entrySize * sectionCount > MaximumTable)
        return std::nullopt;

    std::string sections;
    if (!file.Read(sectionTable, static_cast<std::size_t>(entrySize * sectionCount), sections))
        return std::nullopt;
    auto field = [&](std::uint64_t index, std::size_t offset32, std::size_t offset64, std::size_t width32,
                     std::size_t width64) {
        return d.Get(sections, static_cast<std::size_t>(index * entrySize) + (is64 ? offset64 : offset32),
                     is64 ? width64 : width32);
    };
    auto sectionOffset = [&](std::uint64_t i) { return field(i, 0x10, 0x18, 4, 8); };
    auto sectionSize = [&](std::uint64_t i) { return field(i, 0x14, 0x20, 4, 8); };

    const std::uint64_t namesSize = sectionSize(namesIndex);
    if (namesSize > MaximumTable)
        return std::nullopt;
    std::string names;
    if (!file.Read(sectionOffset(namesIndex), static_cast<std::size_t>(namesSize), names))
        return std::nullopt;

    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t nameAt = field(i, 0, 0, 4, 4);
        if (nameAt >= names.size() || std::strcmp(names.c_str() + nameAt, SectionName) != 0)
            continue;
        const std::uint64_t size = sectionSize(i);
        if (size < 12 || size > 4096)
            return std::nullopt;
        std::string note;
        if (!file.Read(sectionOffset(i), static_cast<std::size_t>(size), note))
            return std::nullopt;
        const std::uint64_t nameSize = d.Get(note, 0, 4);
        const std::uint64_t descriptionSize = d.Get(note, 4, 4);
        const std::uint64_t type = d.Get(note, 8, 4);
        const std::uint64_t descriptionAt = 12 + ((nameSize + 3) & ~std::uint64_t{3});
        if (type != NoteType || nameSize != sizeof NoteOwner || descriptionSize < 8 ||
            descriptionAt + 8 > size || note.compare(12, sizeof NoteOwner, NoteOwner, sizeof NoteOwner) != 0)
            return std::nullopt;
        std::array<std::uint16_t, 4> version{};
        for (std::size_t part = 0; part < 4; ++part)
            version[part] = static_cast<std::uint16_t>(d.Get(note, static_cast<std::size_t>(descriptionAt) + part * 2, 2));
        return version;
    }
    return std::nullopt;
}
