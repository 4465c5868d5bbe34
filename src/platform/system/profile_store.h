#pragma once
// The per-user profile: named 32-bit integers in sections, kept in one INI file.
// A value that is not a decimal 32-bit integer reads as missing. Every write
// replaces the file atomically; a write that cannot be made is dropped silently.

#include <memory>
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
    bool Write(const std::string& section, const std::string& entry, int value);
    const std::string& Path() const { return m_path; }

    // $XDG_CONFIG_HOME/<key>/<app>.conf, with ~/.config when XDG_CONFIG_HOME is unset or empty.
    static std::string DefaultPath(const std::string& registryKey, const std::string& appName);

private:
    std::string m_path;
};
