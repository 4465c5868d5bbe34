// The message box over its owner.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/framework/app.h"
#include "platform/framework/dialog.h"
#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"

namespace {

class Owner : public CWnd {
public:
    Owner() { CreateEx(WindowStyle{}, RECT{50, 50, 250, 200}, nullptr); }
    ~Owner() override { DestroyWindow(); }
};

TEST(MessageBox, ShowsTheTextModallyOverItsOwner)
{
    platform::EnsureToolkit();
    Owner owner;
    owner.ShowWindow(SW_SHOW);
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        parent = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(AfxMessageBox(&owner, "DirectShow is not Installed.", "Vantrel", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(text, "DirectShow is not Installed.");
    EXPECT_EQ(title, "Vantrel");
    EXPECT_EQ(icon, QMessageBox::Critical);
    ASSERT_NE(platform::ClientWidgetOf(owner.GetSafeHwnd()), nullptr);
    EXPECT_EQ(parent, platform::ClientWidgetOf(owner.GetSafeHwnd())->window());
}

}  // namespace
