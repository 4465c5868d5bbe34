// The Open media and About dialogs as the user meets them, and the player's side
// of both.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "fakes/fake_graph.h"
#include "platform/framework/file_dialog.h"
#include "ui/dialogs/about_dlg.h"
#include "ui/dialogs/open_media_dlg.h"
#include "ui/player/player_dlg.h"
#include "support/window_fixture.h"

namespace {

QPushButton* Button(QWidget* dialog, const QString& text)
{
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// Runs `act` on the modal dialog once it is up. `act` must end the dialog.
void WhenModalOpens(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

class DialogsTest : public WindowTest {
protected:
    void SetUp() override
    {
        m_app.m_pMainWnd = &player;
        ASSERT_TRUE(player.Create(IDD_PLAYER));
        player.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        platform::SetOpenFileHook({});
        if (player.IsWindow())
            player.DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        WindowTest::TearDown();
    }
    std::vector<std::string> Renders() const
    {
        std::vector<std::string> renders;
        for (const auto& call : graph.Log()) {
            if (call.rfind("RenderFile(", 0) == 0)
                renders.push_back(call);
        }
        return renders;
    }

    fakes::ScopedFakeGraph graph;
    CPlayerDlg player;
};

}  // namespace

TEST_F(DialogsTest, OpenDialogOffersTheLastTextSelectedAndPlaysWhatOkAccepts)
{
    std::string shownText;
    bool allSelected = false;
    QString caption;
    WhenModalOpens([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        auto* edit = dialog->findChild<QLineEdit*>();
        shownText = edit->text().toStdString();
        allSelected = edit->selectedText() == edit->text() && edit->hasFocus();
        edit->setText("/media/films/one.mpg");
        Button(dialog, "OK")->click();
    });
    player.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(caption, "Open media file");
    EXPECT_EQ(shownText, "http://");
    EXPECT_TRUE(allSelected) << "the whole text is selected, ready to be typed over";
    EXPECT_EQ(player.m_strURL, "/media/films/one.mpg");
    EXPECT_EQ(Renders(), (std::vector<std::string>{"RenderFile(/media/films/one.mpg)"}));

    WhenModalOpens([&](QWidget* dialog) {
        shownText = dialog->findChild<QLineEdit*>()->text().toStdString();
        dialog->findChild<QLineEdit*>()->setText("");
        Button(dialog, "OK")->click();
    });
    player.OnFileOpen();
    EXPECT_EQ(shownText, "/media/films/one.mpg") << "the text accepted last time";
    EXPECT_EQ(player.m_strURL, "") << "an empty line is handed on as it is";
    EXPECT_EQ(Renders().size(), 2u);
}

TEST_F(DialogsTest, OkWithTheSeedUnchangedHandsItOnAndOffersItAgain)
{
    std::vector<std::string> shown;
    const auto acceptAsShown = [&](QWidget* dialog) {
        shown.push_back(dialog->findChild<QLineEdit*>()->text().toStdString());
        Button(dialog, "OK")->click();
    };
    WhenModalOpens(acceptAsShown);
    player.OnFileOpen();
    WhenModalOpens(acceptAsShown);
    player.OnFileOpen();
    EXPECT_EQ(shown, (std::vector<std::string>{"http://", "http://"}));
    EXPECT_EQ(player.m_strURL, "http://");
    EXPECT_EQ(Renders(), (std::vector<std::string>{"RenderFile(http://)", "RenderFile(http://)"}));
}

TEST_F(DialogsTest, CancelKeepsTheTextAndOpensNothingEvenAfterBrowse)
{
    platform::SetOpenFileHook([](const OpenFileRequest&, std::string* path) {
        *path = "/picked/file.avi";
        return true;
    });
    std::string afterBrowse;
    WhenModalOpens([&](QWidget* dialog) {
        Button(dialog, "Browse...")->click();
        afterBrowse = dialog->findChild<QLineEdit*>()->text().toStdString();
        Button(dialog, "Cancel")->click();
    });
    player.OnFileOpen();
    EXPECT_EQ(afterBrowse, "/picked/file.avi") << "Browse replaces the line";
    EXPECT_EQ(player.m_strURL, "http://");
    EXPECT_TRUE(Renders().empty());
}

TEST_F(DialogsTest, BrowseAsksForExistingVideoFilesAndACancelledChooserKeepsTypedText)
{
    OpenFileRequest seen;
    int calls = 0;
    platform::SetOpenFileHook([&](const OpenFileRequest& request, std::string* path) {
        seen = request;
        ++calls;
        if (calls == 1) {
            *path = "/first.mpg";
            return true;
        }
        if (calls == 2) {
            *path = "/second.mov";
            return true;
        }
        return false;
    });
    std::vector<std::string> lines;
    WhenModalOpens([&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        Button(dialog, "Browse...")->click();
        lines.push_back(edit->text().toStdString());
        Button(dialog, "Browse...")->click();
        lines.push_back(edit->text().toStdString());
        edit->setText("typed but not taken");
        Button(dialog, "Browse...")->click();  // cancelled
        lines.push_back(edit->text().toStdString());
        Button(dialog, "OK")->click();
    });
    player.OnFileOpen();
    EXPECT_EQ(lines, (std::vector<std::string>{"/first.mpg", "/second.mov", "typed but not taken"}));
    EXPECT_EQ(player.m_strURL, "typed but not taken");
    ASSERT_EQ(seen.filters.size(), 2u);
    EXPECT_EQ(seen.filters[0].first, "Video files (*.mpg; *.mpeg; *.avi; *.mov; *.qt)");
    EXPECT_EQ(seen.filters[0].second, "*.mpg; *.mpeg; *.avi; *.mov; *.qt");
    EXPECT_EQ(seen.filters[1].first, "All files (*.*)");
    EXPECT_EQ(seen.filters[1].second, "*.*");
    EXPECT_EQ(seen.filterIndex, 1);
    EXPECT_EQ(seen.defaultExtension, "MPG");
    EXPECT_TRUE(seen.fileMustExist);
}

TEST_F(DialogsTest, AboutShowsNameVersionAndASelectableHomePage)
{
    QStringList labels;
    QString caption;
    bool readOnly = false;
    bool framed = true;
    QString url;
    WhenModalOpens([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        for (auto* label : dialog->findChildren<QLabel*>())
            labels << label->text();
        auto* edit = dialog->findChild<QLineEdit*>();
        readOnly = edit->isReadOnly();
        framed = edit->hasFrame();
        url = edit->text();
        edit->selectAll();
        EXPECT_EQ(edit->selectedText(), url) << "the address can be selected for copying";
        Button(dialog, "OK")->click();
    });
    player.SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(caption, "About Vantrel");
    EXPECT_TRUE(labels.contains("Vantrel Version 1.03s"));
    EXPECT_TRUE(readOnly);
    EXPECT_FALSE(framed);
    EXPECT_TRUE(url.startsWith("http")) << url.toStdString();
}

TEST_F(DialogsTest, SystemCommandsKeepTheirDefault)
{
    player.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(player.IsWindowVisible()) << "Close is not swallowed";
}

TEST_F(DialogsTest, PlaybackAndThePanelKeepUpdatingWhileADialogIsOpen)
{
    player.OpenAndPlay("clip.mpg");
    ASSERT_EQ(player.m_nState, STATE_PLAYING);
    player.m_wndLabel.m_strStatus.clear();
    bool updated = false;
    WhenModalOpens([&](QWidget* dialog) {
        QTimer::singleShot(200, [&, dialog] {
            updated = !player.m_wndLabel.m_strStatus.empty();
            Button(dialog, "OK")->click();
        });
    });
    player.OnAppAbout();
    EXPECT_TRUE(updated) << "the 50 ms tick ran under the About box";
}
