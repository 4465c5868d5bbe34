#pragma once
// Platform-private: the widgets behind our windows.

#include <QDialog>
#include <QWidget>

struct PlatformWindow;

// The client area of one of our windows: paints from the window's canvas and
// turns input, timers and drops into window messages.
class ClientWidget : public QWidget {
    Q_OBJECT
public:
    ClientWidget(PlatformWindow* window, QWidget* parent);
    PlatformWindow* Window() const { return m_window; }
    void Detach() { m_window = nullptr; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    PlatformWindow* m_window;
};

// A frameless top-level window: an optional sizing border of our own around the
// client widget, which fills the rest.
class FrameWidget : public QWidget {
    Q_OBJECT
public:
    FrameWidget(PlatformWindow* window, int border);
    void SetClient(QWidget* client);
    int Border() const { return m_border; }
    void Detach() { m_window = nullptr; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Qt::Edges EdgesAt(const QPoint& pos) const;
    PlatformWindow* m_window;
    QWidget* m_client = nullptr;
    int m_border;
    Qt::Edges m_manualEdges;
    QPoint m_pressGlobal;
    QRect m_pressGeometry;
};

// A template dialog with controls: keys, buttons and the close box become the
// dialog's commands.
class DialogWidget : public QDialog {
    Q_OBJECT
public:
    DialogWidget(PlatformWindow* window, QWidget* parent);
    void Detach() { m_window = nullptr; }

public slots:
    void done(int result) override;
    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    PlatformWindow* m_window;
};
