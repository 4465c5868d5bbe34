#include "platform/framework/window_widgets.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QTimerEvent>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <memory>

#include "platform/framework/drop_handle.h"
#include "platform/framework/input_messages.h"
#include "platform/framework/platform_window.h"

namespace {

void DeliverTimer(PlatformWindow* window, int qtTimerId)
{
    if (window == nullptr || window->wnd == nullptr)
        return;
    for (const auto& [id, qtId] : window->timers) {
        if (qtId == qtTimerId) {
            window->wnd->SendMessage(WM_TIMER, id, 0);
            return;
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------
ClientWidget::ClientWidget(PlatformWindow* window, QWidget* parent) : QWidget(parent), m_window(window)
{
    // We paint every pixel ourselves from the canvas; the toolkit must not clear it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

bool ClientWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        if (m_window != nullptr && platform::DeliverInput(m_window, this, event)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::ShortcutOverride: {
        // Escape and Enter belong to the dialog, not to any shortcut.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
        break;
    }
    default: break;
    }
    return QWidget::event(event);
}

void ClientWidget::paintEvent(QPaintEvent* event)
{
    if (m_window == nullptr)
        return;
    m_window->EnsureCanvasSize();
    // Pixels a child covered when they were last painted are shown now: paint them first.
    if (const QRegion owed = event->region().intersected(m_window->underChildren); !owed.isEmpty()) {
        m_window->underChildren -= owed;
        m_window->invalid += owed;
        m_window->eraseNeeded = true;
    }
    if (!m_window->invalid.isEmpty())
        m_window->UpdateNow();
    QPainter painter(this);
    const QImage& canvas = m_window->canvas;
    if (canvas.devicePixelRatio() == 1.0) {
        const QRect area = event->rect();
        painter.drawImage(area.topLeft(), canvas, area);
    } else {
        // Pixel for pixel, from the widget's first screen pixel; the paint's clip keeps it
        // to the area asked for.
        painter.drawImage(QPointF(0, 0), canvas);
    }
}

void ClientWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_window != nullptr)
        m_window->NotifySizeIfChanged();
}

void ClientWidget::timerEvent(QTimerEvent* event)
{
    DeliverTimer(m_window, event->timerId());
}

void ClientWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ClientWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

namespace {

// A local file as the bytes of its path, whatever their encoding; anything else
// whole and still escaped, as the server expects it.
std::string DroppedPath(const QUrl& url)
{
    if (!url.isLocalFile())
        return url.toEncoded().toStdString();
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return QFile::encodeName(url.toLocalFile()).toStdString();
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace

void ClientWidget::dropEvent(QDropEvent* event)
{
    if (m_window == nullptr || !event->mimeData()->hasUrls())
        return;
    auto paths = std::make_shared<std::vector<std::string>>();
    for (const QUrl& url : event->mimeData()->urls())
        paths->push_back(DroppedPath(url));
    if (paths->empty())
        return;
    event->acceptProposedAction();
    // The open can take a while; the program that dragged must not wait for it.
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            if (m_window == nullptr)
                return;
            auto* drop = new PlatformDrop{std::move(*paths)};
            m_window->wnd->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------
FrameWidget::FrameWidget(PlatformWindow* window, int border)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_window(window), m_border(border)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    if (border > 0)
        setMinimumSize(std::max(kMinTrackWidth, 2 * border + 1), std::max(kMinTrackHeight, 2 * border + 1));
    // Resizing by the window manager and maximising stay within what a canvas can hold.
    setMaximumSize(kMaxWindowSide, kMaxWindowSide);
}

void FrameWidget::SetClient(QWidget* client)
{
    m_client = client;
    setFocusProxy(client);
    if (m_client != nullptr)
        m_client->setGeometry(rect().adjusted(m_border, m_border, -m_border, -m_border));
}

void FrameWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_client == nullptr)
        return;
    const int w = std::max(0, width() - 2 * m_border);
    const int h = std::max(0, height() - 2 * m_border);
    m_client->setGeometry(m_border, m_border, w, h);
}

void FrameWidget::paintEvent(QPaintEvent*)
{
    if (m_border <= 0)
        return;
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(QRect(0, 0, r.width(), m_border), QColor(48, 48, 48));
    painter.fillRect(QRect(0, r.height() - m_border, r.width(), m_border), QColor(48, 48, 48));
    painter.fillRect(QRect(0, 0, m_border, r.height()), QColor(48, 48, 48));
    painter.fillRect(QRect(r.width() - m_border, 0, m_border, r.height()), QColor(48, 48, 48));
    // The outline as filled edges: a pen's line would be centred on the outermost pixel's
    // corner and, at a device pixel ratio above 1, leave the frame's colour outside it.
    const QColor outline(96, 96, 96);
    painter.fillRect(QRect(0, 0, r.width(), 1), outline);
    painter.fillRect(QRect(0, r.height() - 1, r.width(), 1), outline);
    painter.fillRect(QRect(0, 0, 1, r.height()), outline);
    painter.fillRect(QRect(r.width() - 1, 0, 1, r.height()), outline);
}

Qt::Edges FrameWidget::EdgesAt(const QPoint& pos) const
{
    Qt::Edges edges;
    if (m_border <= 0)
        return edges;
    if (pos.x() < m_border)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - m_border)
        edges |= Qt::RightEdge;
    if (pos.y() < m_border)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - m_border)
        edges |= Qt::BottomEdge;
    return edges;
}

void FrameWidget::mousePressEvent(QMouseEvent* event)
{
    const Qt::Edges edges = EdgesAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || edges == Qt::Edges())
        return;
    // Let the window manager size the window where it can; otherwise do it here.
    if (windowHandle() != nullptr && windowHandle()->startSystemResize(edges))
        return;
    m_manualEdges = edges;
    m_pressGlobal = event->globalPosition().toPoint();
    m_pressGeometry = geometry();
}

void FrameWidget::mouseMoveEvent(QMouseEvent* event)
{
    const Qt::Edges hover = EdgesAt(event->position().toPoint());
    if (m_manualEdges == Qt::Edges()) {
        if ((hover & (Qt::LeftEdge | Qt::RightEdge)) && (hover & (Qt::TopEdge | Qt::BottomEdge))) {
            const bool diag = (hover == (Qt::LeftEdge | Qt::TopEdge)) || (hover == (Qt::RightEdge | Qt::BottomEdge));
            setCursor(diag ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        } else if (hover & (Qt::LeftEdge | Qt::RightEdge)) {
            setCursor(Qt::SizeHorCursor);
        } else if (hover & (Qt::TopEdge | Qt::BottomEdge)) {
            setCursor(Qt::SizeVerCursor);
        } else {
            unsetCursor();
        }
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - m_pressGlobal;
    QRect g = m_pressGeometry;
    const int minimum = 2 * m_border + 1;
    if (m_manualEdges & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + delta.x(), g.right() - minimum));
    if (m_manualEdges & Qt::RightEdge)
        g.setRight(std::max(g.right() + delta.x(), g.left() + minimum));
    if (m_manualEdges & Qt::TopEdge)
        g.setTop(std::min(g.top() + delta.y(), g.bottom() - minimum));
    if (m_manualEdges & Qt::BottomEdge)
        g.setBottom(std::max(g.bottom() + delta.y(), g.top() + minimum));
    setGeometry(g);
}

void FrameWidget::mouseReleaseEvent(QMouseEvent*)
{
    m_manualEdges = Qt::Edges();
}

void FrameWidget::closeEvent(QCloseEvent* event)
{
    // Every close request runs the window's own close handling.
    event->ignore();
    if (m_window != nullptr && m_window->wnd != nullptr && !m_window->destroying) {
        m_window->wnd->SendMessage(WM_CLOSE, 0, 0);
    }
}

void FrameWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_window != nullptr)
        m_window->NotifySizeIfChanged();
}

// ---------------------------------------------------------------------------
DialogWidget::DialogWidget(PlatformWindow* window, QWidget* parent) : QDialog(parent), m_window(window) {}

void DialogWidget::done(int)
{
    // Our dialogs end through EndDialog only.
}

void DialogWidget::reject()
{
    if (m_window != nullptr && m_window->wnd != nullptr)
        m_window->wnd->SendMessage(WM_COMMAND, IDCANCEL, 0);
}

void DialogWidget::accept()
{
    if (m_window != nullptr && m_window->wnd != nullptr)
        m_window->wnd->SendMessage(WM_COMMAND, IDOK, 0);
}

void DialogWidget::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_window != nullptr && m_window->wnd != nullptr && !m_window->destroying) {
        m_window->wnd->SendMessage(WM_CLOSE, 0, 0);
    }
}

void DialogWidget::timerEvent(QTimerEvent* event)
{
    DeliverTimer(m_window, event->timerId());
}
