#include "platform/media/x_shm_surface.h"

#include <QGuiApplication>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace platform::gst {

// The toolkit's connection and the segments of the images made on it, for every surface.
struct XShmSurface::Display {
    xcb_connection_t* connection = nullptr;
    std::mutex mutex;
    std::unordered_map<const uchar*, xcb_shm_seg_t> segments;
};

namespace {

struct Segment {
    std::shared_ptr<XShmSurface::Display> display;
    xcb_shm_seg_t id;
    uchar* pixels;
};

void ReleaseSegment(void* info)
{
    auto* segment = static_cast<Segment*>(info);
    {
        std::lock_guard lock(segment->display->mutex);
        segment->display->segments.erase(segment->pixels);
    }
    // After the toolkit has gone its connection is closed, and the server has let go.
    if (QCoreApplication::instance()) {
        xcb_shm_detach(segment->display->connection, segment->id);
        xcb_flush(segment->display->connection);
    }
    shmdt(segment->pixels);
    delete segment;
}

// A segment of `bytes` the server has attached, marked for removal once both let go.
bool AttachSegment(xcb_connection_t* connection, size_t bytes, xcb_shm_seg_t& id, uchar*& pixels)
{
    const int shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shmid < 0)
        return false;
    void* address = shmat(shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(shmid, IPC_RMID, nullptr);
        return false;
    }
    id = xcb_generate_id(connection);
    // A remote server cannot attach our memory: the check says so.
    xcb_generic_error_t* error = xcb_request_check(connection, xcb_shm_attach_checked(connection, id, shmid, 1));
    shmctl(shmid, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        shmdt(address);
        return false;
    }
    pixels = static_cast<uchar*>(address);
    return true;
}

// The depth of `window` when its pixels are 32-bit 0x00RRGGBB words; 0 otherwise.
unsigned DirectDepth(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    unsigned depth = 0;
    if (attributes && geometry && (geometry->depth == 24 || geometry->depth == 32)) {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        bool thirtyTwoBits = false;
        for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format))
            thirtyTwoBits |= format.data->depth == geometry->depth && format.data->bits_per_pixel == 32;
        for (auto screen = xcb_setup_roots_iterator(setup); screen.rem && thirtyTwoBits && !depth;
             xcb_screen_next(&screen)) {
            for (auto d = xcb_screen_allowed_depths_iterator(screen.data); d.rem; xcb_depth_next(&d)) {
                for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
                    const xcb_visualtype_t& visual = *v.data;
                    if (visual.visual_id == attributes->visual && visual._class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                        visual.red_mask == 0xFF0000u && visual.green_mask == 0xFF00u && visual.blue_mask == 0xFFu)
                        depth = geometry->depth;
                }
            }
        }
    }
    std::free(attributes);
    std::free(geometry);
    return depth;
}

}  // namespace

std::shared_ptr<XShmSurface> XShmSurface::ForWindow(unsigned long window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || window == 0)
        return nullptr;
    // One for the connection, so that any surface can put an image another made; null
    // when the server cannot read our memory, which does not change while it runs.
    static const std::shared_ptr<Display> display = [connection]() -> std::shared_ptr<Display> {
        const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
        xcb_shm_seg_t probe = 0;
        uchar* pixels = nullptr;
        if (!shm || !shm->present || !AttachSegment(connection, 4096, probe, pixels))
            return nullptr;
        xcb_shm_detach(connection, probe);
        shmdt(pixels);
        auto made = std::make_shared<Display>();
        made->connection = connection;
        return made;
    }();
    if (!display || display->connection != connection)
        return nullptr;
    const unsigned depth = DirectDepth(connection, xcb_window_t(window));
    if (depth == 0)
        return nullptr;
    return std::shared_ptr<XShmSurface>(new XShmSurface(display, window, depth));
}

XShmSurface::XShmSurface(std::shared_ptr<Display> display, unsigned long window, unsigned depth)
    : m_display(std::move(display)), m_window(window), m_depth(depth)
{
    xcb_connection_t* connection = m_display->connection;
    // What the picture does not cover, before the first one and after a resize, is black.
    const uint32_t black = 0;
    xcb_change_window_attributes(connection, xcb_window_t(m_window), XCB_CW_BACK_PIXEL, &black);
    m_gc = xcb_generate_id(connection);
    const uint32_t noExposures = 0;
    xcb_create_gc(connection, m_gc, xcb_window_t(m_window), XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    xcb_flush(connection);
}

XShmSurface::~XShmSurface()
{
    if (QCoreApplication::instance()) {
        xcb_free_gc(m_display->connection, m_gc);
        xcb_flush(m_display->connection);
    }
}

QImage XShmSurface::MakeImage(QSize size)
{
    if (size.isEmpty())
        return {};
    const auto stride = size_t(size.width()) * 4;
    xcb_shm_seg_t id = 0;
    uchar* pixels = nullptr;
    if (!AttachSegment(m_display->connection, stride * size_t(size.height()), id, pixels))
        return {};
    {
        std::lock_guard lock(m_display->mutex);
        m_display->segments[pixels] = id;
    }
    return QImage(pixels, size.width(), size.height(), qsizetype(stride), QImage::Format_RGB32, &ReleaseSegment,
                  new Segment{m_display, id, pixels});
}

bool XShmSurface::Put(const QImage& image)
{
    xcb_shm_seg_t id = 0;
    {
        std::lock_guard lock(m_display->mutex);
        const auto found = m_display->segments.find(image.constBits());
        if (found == m_display->segments.end())
            return false;
        id = found->second;
    }
    xcb_connection_t* connection = m_display->connection;
    const auto width = uint16_t(image.width()), height = uint16_t(image.height());
    // The check waits for the server, which reads the pixels while it carries out the put.
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_shm_put_image_checked(connection, xcb_drawable_t(m_window), m_gc, width, height, 0, 0, width,
                                              height, 0, 0, uint8_t(m_depth), XCB_IMAGE_FORMAT_Z_PIXMAP, 0, id, 0));
    std::free(error);
    return error == nullptr;
}

void XShmSurface::Clear()
{
    xcb_clear_area(m_display->connection, 0, xcb_window_t(m_window), 0, 0, 0, 0);
    xcb_flush(m_display->connection);
}

}  // namespace platform::gst
