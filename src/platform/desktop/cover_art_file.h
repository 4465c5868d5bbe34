#pragma once
// Platform-private: the cover of the medium playing as a file the desktop's media
// controls can show (MPRIS hands them a URL, not the picture). It lives in the
// user's runtime folder, else the cache folder, and is removed when the cover
// goes and when the player ends. UI thread only.

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace desktop {

class CoverArtFile {
public:
    CoverArtFile() = default;
    ~CoverArtFile();
    CoverArtFile(const CoverArtFile&) = delete;
    CoverArtFile& operator=(const CoverArtFile&) = delete;

    // Writes `cover` to a new file and removes the previous one; null only removes.
    // A cover that cannot be written leaves no file and no URL.
    void Show(const std::shared_ptr<const std::vector<std::uint8_t>>& cover, const std::string& type);
    // The file's URL; empty while there is none.
    QString Url() const;

private:
    void Remove();

    std::shared_ptr<const std::vector<std::uint8_t>> m_cover;
    QString m_path;
    unsigned m_written = 0;
};

}  // namespace desktop
