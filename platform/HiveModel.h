// The current user's hive in memory: keys and their values as the `.reg` file holds them; no files.
#pragma once

#include "HiveFile.h"
#include "Registry.h"
#include "RegistryJournal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Keys are paths below HKEY_CURRENT_USER ("" is that root itself), compared as
// the registry compares them, without letter case. Sections of other roots in a
// hand-edited file are kept and never looked into.
class HiveModel
{
public:
    HiveModel() = default;
    explicit HiveModel(hivefile::Hive hive);

    const hivefile::Hive& Hive() const { return m_hive; }

    // A key exists when it has a section of its own or a key below it does.
    bool KeyExists(std::string_view key) const;
    void CreateKey(std::string_view key);
    // The key with its values and every key below it; false when it does not exist.
    bool DeleteKey(std::string_view key);

    const hivefile::Value* Find(std::string_view key, std::string_view name) const;
    // A value already there keeps the spelling of its name; the key is made when missing.
    void Set(std::string_view key, std::string_view name, hivefile::Value value);
    // The value goes, and with it any earlier line of its name kept as text,
    // which would otherwise read as the value again.
    void Remove(std::string_view key, std::string_view name);

    // The values of a key as a journal compares them.
    registryjournal::KeyValues ValuesOf(std::string_view key) const;
    // Finishes every batch whose journal the hive holds (a Windows registry
    // exported with regedit while a batch was half-written), or only removes
    // the journal when its keys have changed since.
    void CompleteJournals();

    static RegistryValueType TypeOf(const hivefile::Value& value);
    // A REG_SZ's text up to its first NUL, however it is spelt.
    static std::optional<std::string> TextOf(const hivefile::Value& value);
    // A REG_DWORD of four bytes.
    static std::optional<std::int32_t> IntegerOf(const hivefile::Value& value);
    static hivefile::Value StringValue(std::string utf8);
    static hivefile::Value IntegerValue(std::int32_t number);

private:
    hivefile::Section* FindSection(std::string_view key);
    const hivefile::Section* FindSection(std::string_view key) const;

    hivefile::Hive m_hive;
};
