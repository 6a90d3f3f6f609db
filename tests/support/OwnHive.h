// The current user's registry of a test's own, so a window test never sees the player's data or another test's.
#pragma once

#include <QByteArray>

#include <memory>

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
    ~OwnHive();
    OwnHive(const OwnHive&) = delete;
    OwnHive& operator=(const OwnHive&) = delete;

    // From now on what the hive holds can be read, but nothing in it can be
    // changed, added or removed: every write the game tries fails.
    void RefuseWrites();

    // Everything the hive holds, to compare before and after.
    QByteArray Contents() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
