// The current user's hive in memory: keys and their values as the `.reg` file holds them; no files.
#include "HiveModel.h"

#include <algorithm>

using hivefile::Section;
using hivefile::Value;

namespace {

constexpr std::string_view RootName = "HKEY_CURRENT_USER";

std::string SectionPath(std::string_view key)
{
    return key.empty() ? std::string(RootName) : std::string(RootName) + "\\" + std::string(key);
}

// The key of a section below the root; nothing for sections of other roots.
std::optional<std::string> KeyOf(const Section& section)
{
    const std::string_view path = section.path;
    if (hivefile::SameName(path, RootName))
        return std::string();
    if (path.size() > RootName.size() && path[RootName.size()] == '\\' &&
        hivefile::SameName(path.substr(0, RootName.size()), RootName))
        return std::string(path.substr(RootName.size() + 1));
    return std::nullopt;
}

// The section itself or one below it.
bool IsWithin(const Section& section, std::string_view key)
{
    const std::string path = hivefile::FoldName(section.path);
    const std::string full = hivefile::FoldName(SectionPath(key));
    return path == full ||
           (path.size() > full.size() && path.compare(0, full.size(), full) == 0 && path[full.size()] == '\\');
}

std::string SubkeyOf(std::string_view key, std::string_view subkey)
{
    if (subkey.empty())
        return std::string(key);
    return key.empty() ? std::string(subkey) : std::string(key) + "\\" + std::string(subkey);
}

Value FromStored(const registryjournal::Stored& stored)
{
    if (stored.type == hivefile::TypeString)
        return HiveModel::StringValue(stored.data);
    Value value;
    value.type = stored.type;
    value.spelling = hivefile::Spelling::Hex;
    value.bytes = stored.data;
    if (stored.type == hivefile::TypeDWord && stored.data.size() == 4)
        return HiveModel::IntegerValue(*HiveModel::IntegerOf(value));
    return value;
}

registryjournal::Stored ToStored(const Value& value)
{
    if (const auto text = HiveModel::TextOf(value))
        return {hivefile::TypeString, *text};
    if (const auto number = HiveModel::IntegerOf(value)) {
        std::string bytes;
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((static_cast<std::uint32_t>(*number) >> (8 * i)) & 0xFF);
        return {hivefile::TypeDWord, bytes};
    }
    return {value.type, value.bytes};
}

} // namespace

HiveModel::HiveModel(hivefile::Hive hive)
    : m_hive(std::move(hive))
{
}

const Section* HiveModel::FindSection(std::string_view key) const
{
    const std::string full = SectionPath(key);
    for (const Section& section : m_hive.sections)
        if (hivefile::SameName(section.path, full))
            return &section;
    return nullptr;
}

Section* HiveModel::FindSection(std::string_view key)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(key));
}

bool HiveModel::KeyExists(std::string_view key) const
{
    return key.empty() || std::any_of(m_hive.sections.begin(), m_hive.sections.end(),
                                      [&](const Section& section) { return IsWithin(section, key); });
}

void HiveModel::CreateKey(std::string_view key)
{
    if (!FindSection(key))
        m_hive.sections.push_back(Section{SectionPath(key), {}});
}

bool HiveModel::DeleteKey(std::string_view key)
{
    if (key.empty() || !KeyExists(key))
        return false;
    std::erase_if(m_hive.sections, [&](const Section& section) { return IsWithin(section, key); });
    return true;
}

const Value* HiveModel::Find(std::string_view key, std::string_view name) const
{
    const Section* section = FindSection(key);
    if (!section)
        return nullptr;
    const Value* found = nullptr;
    for (const auto& entry : section->entries)
        if (const auto* value = std::get_if<Value>(&entry); value && hivefile::SameName(value->name, name))
            found = value;
    return found;
}

void HiveModel::Set(std::string_view key, std::string_view name, Value value)
{
    CreateKey(key);
    Section& section = *FindSection(key);
    value.name = name;
    Value* target = nullptr;
    for (auto& entry : section.entries)
        if (auto* existing = std::get_if<Value>(&entry); existing && hivefile::SameName(existing->name, name))
            target = existing;
    if (target) {
        value.name = target->name; // the spelling already in the file stays
        *target = std::move(value);
    } else {
        section.entries.push_back(std::move(value));
    }
}

void HiveModel::Remove(std::string_view key, std::string_view name)
{
    Section* section = FindSection(key);
    if (!section)
        return;
    std::erase_if(section->entries, [&](hivefile::Entry& entry) {
        if (const auto* existing = std::get_if<Value>(&entry))
            return hivefile::SameName(existing->name, name);
        std::string& text = std::get<hivefile::Verbatim>(entry).text;
        std::string kept;
        bool changed = false;
        bool first = true;
        for (const std::string_view line : hivefile::LogicalLines(text)) {
            if (hivefile::DefinesValue(line, name)) {
                // A blank line keeps a line before it that ends in a backslash
                // from joining the one after it.
                const auto last = kept.find_last_not_of(" \t\r");
                if (!first && last != std::string::npos && kept[last] == '\\')
                    kept += '\n';
                changed = true;
            } else {
                if (!first)
                    kept += '\n';
                kept += line;
                first = false;
            }
        }
        if (!changed)
            return false;
        text = std::move(kept);
        return first; // nothing left of it
    });
}

registryjournal::KeyValues HiveModel::ValuesOf(std::string_view key) const
{
    registryjournal::KeyValues values;
    if (const Section* section = FindSection(key))
        for (const auto& entry : section->entries)
            if (const auto* value = std::get_if<Value>(&entry))
                values.emplace_back(value->name, ToStored(*value));
    return values;
}

void HiveModel::CompleteJournals()
{
    std::vector<std::string> keys;
    for (const Section& section : m_hive.sections) {
        const auto key = KeyOf(section);
        const Value* journal = key ? Find(*key, registryjournal::ValueName) : nullptr;
        if (journal && journal->type == hivefile::TypeBinary && registryjournal::IsJournal(journal->bytes))
            keys.push_back(*key);
    }
    for (const std::string& key : keys) {
        const auto journal = registryjournal::Decode(Find(key, registryjournal::ValueName)->bytes);
        const auto valuesOf = [&](const std::string& subkey) { return ValuesOf(SubkeyOf(key, subkey)); };
        if (journal && registryjournal::StillApplies(*journal, valuesOf)) {
            for (const auto& change : journal->changes) {
                const std::string target = SubkeyOf(key, journal->keys[change.key]);
                if (change.after)
                    Set(target, change.name, FromStored(*change.after));
                else
                    Remove(target, change.name);
            }
        }
        Remove(key, registryjournal::ValueName);
    }
}

RegistryValueType HiveModel::TypeOf(const Value& value)
{
    switch (value.type) {
    case hivefile::TypeString: return RegistryValueType::String;
    case hivefile::TypeExpandString: return RegistryValueType::ExpandString;
    case hivefile::TypeBinary: return RegistryValueType::Binary;
    case hivefile::TypeDWord: return IntegerOf(value) ? RegistryValueType::DWord : RegistryValueType::Other;
    case hivefile::TypeMultiString: return RegistryValueType::MultiString;
    case hivefile::TypeQWord: return RegistryValueType::QWord;
    default: return RegistryValueType::Other;
    }
}

std::optional<std::string> HiveModel::TextOf(const Value& value)
{
    if (value.type != hivefile::TypeString)
        return std::nullopt;
    if (value.spelling != hivefile::Spelling::Text)
        return hivefile::Utf16LeToUtf8(value.bytes); // it stops at the first NUL
    return value.bytes.substr(0, value.bytes.find('\0'));
}

std::optional<std::int32_t> HiveModel::IntegerOf(const Value& value)
{
    if (value.type != hivefile::TypeDWord)
        return std::nullopt;
    if (value.spelling == hivefile::Spelling::DWord)
        return static_cast<std::int32_t>(value.number);
    if (value.spelling != hivefile::Spelling::Hex || value.bytes.size() != 4)
        return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = number << 8 | static_cast<unsigned char>(value.bytes[static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(number);
}

Value HiveModel::StringValue(std::string utf8)
{
    Value value;
    value.type = hivefile::TypeString;
    value.spelling = hivefile::Spelling::Text;
    value.bytes = std::move(utf8);
    return value;
}

Value HiveModel::IntegerValue(std::int32_t number)
{
    Value value;
    value.type = hivefile::TypeDWord;
    value.spelling = hivefile::Spelling::DWord;
    value.number = static_cast<std::uint32_t>(number);
    return value;
}
