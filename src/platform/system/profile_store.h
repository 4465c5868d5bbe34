#pragma once
// The per-user profile: named 32-bit integers in sections, kept in one INI file. Names match
// whatever their case. A value that is not a decimal 32-bit integer reads as missing.
// Values can be staged and then committed together: every store of the same file reads the
// staged values at once, and the commit replaces the file atomically, or, when it cannot,
// drops them silently.

#include <optional>
#include <string>

class ProfileStore {
public:
    // `path` is the whole file name, for example ~/.config/Quorvel/vantrel.conf.
    explicit ProfileStore(std::string path);
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    std::optional<int> Read(const std::string& section, const std::string& entry) const;
    // Stages the value and commits everything staged for the file.
    bool Write(const std::string& section, const std::string& entry, int value);
    // False for a name that the file cannot hold.
    bool Stage(const std::string& section, const std::string& entry, int value);
    bool HasStaged() const;
    // True when nothing was staged or all of it was saved.
    bool Commit();
    const std::string& Path() const { return m_path; }

    // $XDG_CONFIG_HOME/<key>/<app>.conf, with ~/.config when XDG_CONFIG_HOME is unset or empty.
    static std::string DefaultPath(const std::string& registryKey, const std::string& appName);

private:
    std::string m_path;
};
