#include "platform/framework/dialog.h"

#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <map>

#include "platform/framework/app.h"
#include "platform/framework/icon_handles.h"
#include "platform/gdi/font_faces.h"
#include "platform/gdi/paint.h"
#include "platform/framework/platform_window.h"
#include "platform/framework/resources.h"
#include "platform/framework/window_widgets.h"

struct DialogControls {
    std::map<int, QWidget*> byId;
    QWidget* firstTabStop = nullptr;
};

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The face a dialog template names, or the installed face that stands in for it.
QFont DialogFont(const DialogTemplate& tpl)
{
    QFont font(platform::InstalledFace(tpl.fontFace));
    font.setPixelSize(std::max(1, (tpl.fontPoints * ScreenLogPixelsY() + 36) / 72));
    return font;
}

// Dialog units: a quarter of the font's average character width, an eighth of its height.
struct DialogUnits {
    int baseX;
    int baseY;
    int X(int du) const { return (du * baseX + 2) / 4; }
    int Y(int du) const { return (du * baseY + 4) / 8; }
};

DialogUnits UnitsFor(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogUnits{std::max(1, (width / 26 + 1) / 2), std::max(1, metrics.height())};
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    auto* dialog = dynamic_cast<CDialog*>(pDX->m_pDlgWnd);
    if (dialog == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = dialog->GetDlgItemText(id);
    else
        dialog->SetDlgItemText(id, value);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

std::intptr_t CDialog::DoModal()
{
    const ResourceTable& res = platform::Resources();
    const DialogTemplate* tpl = res.dialog != nullptr ? res.dialog(m_nIDTemplate) : nullptr;
    if (tpl == nullptr)
        return -1;
    m_result = 0;
    m_modalRunning = true;
    if (!CreateFromTemplate(*tpl, m_pParentWnd, true)) {
        m_modalRunning = false;
        return -1;
    }
    if (m_modalRunning) {
        QEventLoop loop;
        m_loop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_loop = nullptr;
    }
    m_modalRunning = false;
    DestroyWindow();
    return m_result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    const ResourceTable& res = platform::Resources();
    const DialogTemplate* tpl = res.dialog != nullptr ? res.dialog(templateId) : nullptr;
    if (tpl == nullptr)
        return FALSE;
    return CreateFromTemplate(*tpl, parent, false);
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& tpl, CWnd* parent, bool modal)
{
    platform::EnsureToolkit();
    CWnd* owner = parent;
    if (owner == nullptr && AfxGetMainWnd() != this)
        owner = AfxGetMainWnd();
    const QFont font = DialogFont(tpl);
    const DialogUnits du = UnitsFor(font);
    const int width = du.X(tpl.cx);
    const int height = du.Y(tpl.cy);

    if (tpl.style & WS_CHILD) {
        WindowStyle style;
        style.child = true;
        if (!CreateEx(style, RECT{du.X(tpl.x), du.Y(tpl.y), du.X(tpl.x) + width, du.Y(tpl.y) + height}, owner))
            return FALSE;
    } else if (!(tpl.style & WS_CAPTION)) {
        WindowStyle style;
        style.sizingFrame = (tpl.style & WS_THICKFRAME) != 0;
        const int frame = style.sizingFrame ? style.frameWidth : 0;
        const int x = du.X(tpl.x);
        const int y = du.Y(tpl.y);
        if (!CreateEx(style, RECT{x, y, x + width + 2 * frame, y + height + 2 * frame}, nullptr))
            return FALSE;
    } else {
        auto* p = new PlatformWindow;
        p->wnd = this;
        p->hasCanvas = false;
        QWidget* ownerWidget =
            (owner != nullptr && owner->GetSafeHwnd() != nullptr) ? owner->GetSafeHwnd()->top.data() : nullptr;
        auto* dialog = new DialogWidget(p, ownerWidget);
        dialog->setWindowTitle(ToQString(tpl.caption));
        dialog->setFont(font);
        dialog->setFixedSize(width, height);
        if (modal)
            dialog->setWindowModality(Qt::ApplicationModal);
        m_controls = std::make_unique<DialogControls>();
        for (const ControlTemplate& c : tpl.controls) {
            QWidget* widget = nullptr;
            switch (c.cls) {
            case ControlClass::Static:
                if ((c.style & 0x0F) == SS_ICON) {
                    auto* label = new QLabel(dialog);
                    const UINT iconId = static_cast<UINT>(std::stoul(std::string(c.text.empty() ? "0" : c.text)));
                    if (HICON icon = LoadIconResource(iconId))
                        label->setPixmap(icon->icon.pixmap(32, 32));
                    widget = label;
                } else {
                    auto* label = new QLabel(ToQString(c.text), dialog);
                    label->setTextFormat(Qt::PlainText);
                    widget = label;
                }
                break;
            case ControlClass::Edit: {
                auto* edit = new QLineEdit(ToQString(c.text), dialog);
                edit->setReadOnly((c.style & ES_READONLY) != 0);
                edit->setFrame((c.style & WS_BORDER) != 0);
                if (!(c.style & WS_BORDER)) {
                    // Without a border the line reads as text on the dialog's own background.
                    QPalette palette = edit->palette();
                    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
                    edit->setPalette(palette);
                }
                widget = edit;
                break;
            }
            case ControlClass::Button: {
                auto* button = new QPushButton(ToQString(c.text), dialog);
                const bool isDefault = (c.style & 0x0F) == BS_DEFPUSHBUTTON;
                button->setDefault(isDefault);
                button->setAutoDefault(isDefault);
                const int id = c.id;
                QObject::connect(button, &QPushButton::clicked, dialog,
                                 [this, id] { SendMessage(WM_COMMAND, static_cast<WPARAM>(id), 0); });
                widget = button;
                break;
            }
            }
            // A button at its font's natural height would be cut off in small dialog units.
            widget->setGeometry(du.X(c.x), du.Y(c.y), du.X(c.cx), du.Y(c.cy));
            if (c.style & WS_TABSTOP) {
                widget->setFocusPolicy(Qt::StrongFocus);
                if (m_controls->firstTabStop == nullptr)
                    m_controls->firstTabStop = widget;
            } else {
                widget->setFocusPolicy(Qt::NoFocus);
            }
            if (c.id != -1)
                m_controls->byId[c.id] = widget;
        }
        // Modal dialogs open centred over their owner.
        QRect area = ownerWidget != nullptr ? ownerWidget->frameGeometry()
                                            : (QGuiApplication::primaryScreen() != nullptr
                                                   ? QGuiApplication::primaryScreen()->availableGeometry()
                                                   : QRect(0, 0, width, height));
        QPoint topLeft = area.center() - QPoint(width / 2, height / 2);
        // Centred over an owner near the screen's edge, the box would be cut off: keep it on screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect visible = screen->availableGeometry();
            topLeft.setX(std::clamp(topLeft.x(), visible.left(), std::max(visible.left(), visible.right() - width)));
            topLeft.setY(std::clamp(topLeft.y(), visible.top(), std::max(visible.top(), visible.bottom() - height)));
        }
        dialog->move(topLeft);
        p->top = dialog;
        p->client = dialog;
        m_hWnd = p;
        platform::RegisterWindow(p);
        p->reportedClientSize = dialog->size();
    }

    const std::uint64_t serial = m_hWnd->serial;
    SendMessage(WM_INITDIALOG, 0, 0);
    if (!platform::IsLiveWindow(m_hWnd, serial))
        return FALSE;
    if (m_controls && m_controls->firstTabStop != nullptr) {
        m_controls->firstTabStop->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(m_controls->firstTabStop))
            edit->selectAll();
    }
    const bool visible = (tpl.style & WS_VISIBLE) != 0 || (modal && (tpl.style & WS_CAPTION));
    if (visible && (!modal || m_modalRunning)) {
        ShowWindow(SW_SHOW);
        if (m_hWnd != nullptr && m_hWnd->top) {
            m_hWnd->top->activateWindow();
            if (!m_controls)
                m_hWnd->client->setFocus(Qt::ActiveWindowFocusReason);
        }
    }
    return TRUE;
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    if (m_modalRunning) {
        m_modalRunning = false;
        ShowWindow(SW_HIDE);
        if (m_loop != nullptr)
            static_cast<QEventLoop*>(m_loop)->exit(result);
        return;
    }
    ShowWindow(SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

std::string CDialog::GetDlgItemText(int id) const
{
    if (!m_controls)
        return {};
    auto it = m_controls->byId.find(id);
    if (it == m_controls->byId.end())
        return {};
    if (auto* edit = qobject_cast<QLineEdit*>(it->second))
        return edit->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(it->second))
        return label->text().toStdString();
    if (auto* button = qobject_cast<QPushButton*>(it->second))
        return button->text().toStdString();
    return {};
}

void CDialog::SetDlgItemText(int id, const std::string& text)
{
    if (!m_controls)
        return;
    auto it = m_controls->byId.find(id);
    if (it == m_controls->byId.end())
        return;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(it->second)) {
        edit->setText(s);
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(it->second)) {
        label->setText(s);
    } else if (auto* button = qobject_cast<QPushButton*>(it->second)) {
        button->setText(s);
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_CLOSE:
        // A dialog takes a close request as its Cancel command.
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        return 0;
    default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

BOOL CDialog::OnCommand(UINT id)
{
    if (id == static_cast<UINT>(IDOK)) {
        OnOK();
        return TRUE;
    }
    if (id == static_cast<UINT>(IDCANCEL)) {
        OnCancel();
        return TRUE;
    }
    return CWnd::OnCommand(id);
}
