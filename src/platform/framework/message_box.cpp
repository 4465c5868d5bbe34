#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "platform/framework/dialog.h"
#include "platform/framework/message_box.h"
#include "platform/framework/window_host.h"

namespace {

platform::MessageBoxHook& Hook()
{
    static platform::MessageBoxHook hook;
    return hook;
}

QMessageBox::Icon IconFor(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

void platform::SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

// Only the OK box is offered, so the answer is always IDOK.
int AfxMessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type)
{
    if (Hook())
        return Hook()(platform::MessageBoxCall{owner, text, caption, type});

    QWidget* parent = owner ? platform::ClientWidgetOf(owner->GetSafeHwnd()) : nullptr;
    // On the heap: should the owner go away meanwhile, it takes the box with it.
    QPointer<QMessageBox> box = new QMessageBox(
        IconFor(type), caption.empty() ? QCoreApplication::applicationName() : QString::fromStdString(caption),
        QString::fromStdString(text), QMessageBox::Ok, parent ? parent->window() : nullptr);
    box->exec();
    delete box.data();
    return IDOK;
}
