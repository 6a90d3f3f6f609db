// The current user's registry of a test's own, so a test never sees the player's data or another test's.
#pragma once

#ifdef QT_CORE_LIB
#include <QByteArray>
#endif

#include <filesystem>
#include <memory>
#include <string>

// While it lives, everything the game stores for "the current user" goes to a
// hive of this object's own and starts out empty. On Linux that is a fresh
// configuration folder (XDG_CONFIG_HOME); on Windows, where every program of
// the user shares one registry, it is a private key that stands in for
// HKEY_CURRENT_USER in this process. They nest: the one made last is in force
// until it goes, then the one before it is again.
class OwnHive
{
public:
    OwnHive();
    // Joins the hive another process of the test made (its Name()), neither
    // emptying it nor removing it afterwards: a helper program then works on
    // the hive of the test that started it.
    explicit OwnHive(const std::string& name);
    ~OwnHive();
    OwnHive(const OwnHive&) = delete;
    OwnHive& operator=(const OwnHive&) = delete;

    // What a helper process passes to OwnHive(name).
    std::string Name() const;
#ifndef _WIN32
    // The hive file the game's accessors use meanwhile.
    std::filesystem::path File() const;
#endif

    // From now on what the hive holds can be read, but nothing in it can be
    // changed, added or removed: every write the game tries fails.
    void RefuseWrites();

    // Everything the hive holds, to compare before and after.
    std::string Dump() const;
#ifdef QT_CORE_LIB
    QByteArray Contents() const { return QByteArray::fromStdString(Dump()); }
#endif

private:
    struct State;
    std::unique_ptr<State> m_state;
};
