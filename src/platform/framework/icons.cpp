// Icons and cursors from the resource table, and the wait cursor. Handles are
// shared and live until the toolkit goes away, like the system's shared icons:
// loading the same id twice gives the same handle, and nobody destroys one.

#include <QBitmap>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <map>
#include <memory>
#include <vector>

#include "platform/framework/icon_handles.h"
#include "platform/framework/resources.h"
#include "platform/framework/wnd.h"

namespace {

struct HandleCache {
    std::map<UINT, std::unique_ptr<PlatformIcon>> icons;
    std::map<UINT, std::unique_ptr<PlatformCursor>> cursors;
    std::unique_ptr<PlatformCursor> wait;
};

HandleCache* g_cache = nullptr;

// Pixmaps need the application object and must not outlive it, so the cache
// goes with it.
bool ToolkitReady()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

HandleCache& Cache()
{
    if (!g_cache) {
        g_cache = new HandleCache;
        qAddPostRoutine([] {
            delete g_cache;
            g_cache = nullptr;
        });
    }
    return *g_cache;
}

std::unique_ptr<PlatformIcon> MakeIcon(const IconResource& resource)
{
    auto icon = std::make_unique<PlatformIcon>();
    for (const IconImage& image : resource.images) {
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(image.png.data()),
                                                   static_cast<qsizetype>(image.png.size()));
        QBuffer buffer(&bytes);
        // Told that the data are PNG and not to guess, the reader uses its built-in
        // decoder; otherwise it loads every image format plugin at start to ask each.
        QImageReader reader(&buffer, "png");
        reader.setAutoDetectImageFormat(false);
        const QImage decoded = reader.read();
        if (!decoded.isNull())
            icon->icon.addPixmap(QPixmap::fromImage(decoded));
    }
    if (icon->icon.isNull())
        return nullptr;
    return icon;
}

// The toolkit's bitmap cursor paints black where bitmap and mask are 1, white
// where only the mask is, and leaves the screen where the mask is 0. From the AND
// and XOR masks: mask = NOT AND, bitmap = NOT (AND XOR XOR).
std::unique_ptr<PlatformCursor> MakeCursor(const CursorResource& resource)
{
    const int rowBytes = (resource.width + 7) / 8;
    const auto bytes = static_cast<std::size_t>(rowBytes * resource.height);
    if (resource.width <= 0 || resource.height <= 0 || resource.andMask.size() < bytes ||
        resource.xorMask.size() < bytes)
        return nullptr;
    std::vector<uchar> bitmapBits(bytes);
    std::vector<uchar> maskBits(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        bitmapBits[i] = static_cast<uchar>(~(resource.andMask[i] ^ resource.xorMask[i]));
        maskBits[i] = static_cast<uchar>(~resource.andMask[i]);
    }
    const QSize size(resource.width, resource.height);
    const QBitmap bitmap = QBitmap::fromData(size, bitmapBits.data(), QImage::Format_Mono);
    const QBitmap mask = QBitmap::fromData(size, maskBits.data(), QImage::Format_Mono);
    return std::make_unique<PlatformCursor>(PlatformCursor{QCursor(bitmap, mask, resource.hotX, resource.hotY)});
}

}  // namespace

HICON LoadIconResource(UINT id)
{
    if (!ToolkitReady())
        return nullptr;
    auto& icons = Cache().icons;
    if (auto it = icons.find(id); it != icons.end())
        return it->second.get();
    const auto find = platform::Resources().icon;
    const IconResource* resource = find ? find(id) : nullptr;
    if (!resource)
        return nullptr;
    auto icon = MakeIcon(*resource);
    if (!icon)
        return nullptr;
    return icons.emplace(id, std::move(icon)).first->second.get();
}

HCURSOR LoadCursorResource(UINT id)
{
    if (!ToolkitReady())
        return nullptr;
    auto& cursors = Cache().cursors;
    if (auto it = cursors.find(id); it != cursors.end())
        return it->second.get();
    const auto find = platform::Resources().cursor;
    const CursorResource* resource = find ? find(id) : nullptr;
    if (!resource)
        return nullptr;
    auto cursor = MakeCursor(*resource);
    if (!cursor)
        return nullptr;
    return cursors.emplace(id, std::move(cursor)).first->second.get();
}

HCURSOR LoadWaitCursor()
{
    if (!ToolkitReady())
        return nullptr;
    auto& wait = Cache().wait;
    if (!wait)
        wait = std::make_unique<PlatformCursor>(PlatformCursor{QCursor(Qt::WaitCursor)});
    return wait.get();
}
