// The file chooser: the filter string, the default extension, and the toolkit
// dialog that puts them together and matches the patterns whatever their case.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <set>
#include <string_view>

#include "platform/framework/app.h"
#include "platform/framework/file_dialog.h"

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kVideoFilter =
    "Video files (*.mpg; *.mpeg; *.avi; *.mov; *.qt)\0*.mpg; *.mpeg; *.avi; *.mov; *.qt\0All files (*.*)\0*.*\0\0"sv;

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(FilterString, SplitsIntoDescriptionAndPatternPairs)
{
    EXPECT_EQ(ParseFilterString(kVideoFilter),
              (Pairs{
                  {"Video files (*.mpg; *.mpeg; *.avi; *.mov; *.qt)", "*.mpg; *.mpeg; *.avi; *.mov; *.qt"},
                  {"All files (*.*)",                                 "*.*"                              }
    }));
    EXPECT_EQ(ParseFilterString("Text\0*.txt\0"sv), (Pairs{
                                                        {"Text", "*.txt"}
    }))
        << "no closing NUL";
    EXPECT_EQ(ParseFilterString("Text\0*.txt\0Orphan\0"sv), (Pairs{
                                                                {"Text", "*.txt"}
    }));
    EXPECT_EQ(ParseFilterString("Text\0*.txt\0\0Hidden\0*.h\0\0"sv), (Pairs{
                                                                         {"Text", "*.txt"}
    }));
    EXPECT_TRUE(ParseFilterString(""sv).empty());
}

TEST(FilterPatterns, SplitAtSemicolonsAndBlanks)
{
    EXPECT_EQ(platform::SplitPatternList("*.mpg; *.mpeg;*.avi  *.qt;"),
              (std::vector<std::string>{"*.mpg", "*.mpeg", "*.avi", "*.qt"}));
    EXPECT_TRUE(platform::SplitPatternList(" ; ").empty());
}

TEST(FilterPatterns, TheChooserShowsTheDescriptionAndMatchesTheLastList)
{
    EXPECT_EQ(platform::ChooserNameFilter("All files (*.*)", "*.*"), "All files (*.*) (*)");
    EXPECT_EQ(platform::ChooserNameFilter("Clips (*.mpg; *.qt)", "*.mpg; *.qt"), "Clips (*.mpg; *.qt) (*.mpg *.qt)");
}

TEST(DefaultExtension, CompletesANameTypedWithoutOne)
{
    std::set<std::string> files;
    auto exists = [&files](const std::string& p) { return files.count(p) > 0; };
    auto complete = [&](const std::string& p) { return platform::CompleteDefaultExtension(p, "MPG", exists); };

    // Nothing exists: the name goes back as typed, for the chooser to refuse.
    EXPECT_EQ(complete("/m/clip"), "/m/clip");
    files = {"/m/clip.MPG"};
    EXPECT_EQ(complete("/m/clip"), "/m/clip.MPG");
    files = {"/m/clip.mpg"};
    EXPECT_EQ(complete("/m/clip"), "/m/clip.mpg") << "names are case-sensitive here";
    files = {"/m/clip.mpg", "/m/clip.MPG"};
    EXPECT_EQ(complete("/m/clip"), "/m/clip.MPG") << "the extension as given comes first";
    files = {"/m/clip", "/m/clip.mpg"};
    EXPECT_EQ(complete("/m/clip"), "/m/clip.mpg");

    // A name with an extension is left alone, and so is a dot in a folder name.
    files = {"/m/clip.avi.mpg"};
    EXPECT_EQ(complete("/m/clip.avi"), "/m/clip.avi");
    files = {"/m.d/clip.mpg"};
    EXPECT_EQ(complete("/m.d/clip"), "/m.d/clip.mpg");
    files = {"/m/.hidden.mpg"};
    EXPECT_EQ(complete("/m/.hidden"), "/m/.hidden.mpg") << "a leading dot is no extension";
    EXPECT_EQ(platform::CompleteDefaultExtension("/m/clip", "", exists), "/m/clip");
}

// The real chooser, driven from inside its modal loop.
class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The toolkit's dialog remembers its last folder in the user's settings.
        ASSERT_TRUE(config.isValid());
        ::setenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()).constData(), 1);
        platform::EnsureToolkit();
        ASSERT_TRUE(media.isValid());
        for (const char* name : {"clip.mpg", "CLIP.MPG", "clip.Mpg", "movie.qt", "notes.txt", "README"})
            QFile(media.filePath(name)).open(QIODevice::WriteOnly);
        QDir(media.path()).mkdir("sub.d");
    }

    // Runs `act` on the open dialog once it shows the test folder.
    bool Choose(const std::function<void(QFileDialog*)>& act, std::string* path)
    {
        QTimer::singleShot(0, [this, act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ASSERT_NE(dialog->findChild<QFileSystemModel*>(), nullptr);
            dialog->setDirectory(media.path());
            // The model may still be busy with the folder it started in; wait for ours.
            WaitFor([&] { return !Listed(dialog).isEmpty(); });
            act(dialog);
        });
        return GetOpenFileName(OpenFileRequest{nullptr, ParseFilterString(kVideoFilter), 1, "MPG", true}, path);
    }

    // Lets the dialog's folder watcher and filter run until `done` holds or two seconds pass.
    static void WaitFor(const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(2000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // The names the dialog lists in the test folder.
    QStringList Listed(QFileDialog* dialog) const
    {
        auto* model = dialog->findChild<QFileSystemModel*>();
        const QModelIndex folder = model->index(media.path());
        QStringList names;
        for (int row = 0; row < model->rowCount(folder); ++row)
            names << model->index(row, 0, folder).data().toString();
        names.sort();
        return names;
    }

    // As the user does it: type a name, press Open.
    static void TypeAndOpen(QFileDialog* dialog, const QString& name)
    {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        QPushButton* open = dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open);
        ASSERT_TRUE(open->isEnabled());
        open->click();
    }

    QTemporaryDir config;
    QTemporaryDir media;
};

TEST_F(ChooserTest, StartsEmptyOnTheVideoFilterAndListsMatchesOfAnyCase)
{
    QStringList filters;
    QStringList video;
    QStringList all;
    QString typed = "?";
    std::string path = "unchanged";
    const bool chosen = Choose(
        [&](QFileDialog* dialog) {
            typed = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; i < combo->count(); ++i)
                filters << combo->itemText(i);
            video = Listed(dialog);
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            WaitFor([&] { return Listed(dialog).size() > video.size(); });  // filtered again from the event loop
            all = Listed(dialog);
            dialog->reject();
        },
        &path);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(typed, "");
    EXPECT_EQ(filters, (QStringList{"Video files (*.mpg; *.mpeg; *.avi; *.mov; *.qt)", "All files (*.*)"}));
    EXPECT_EQ(video, (QStringList{"CLIP.MPG", "clip.Mpg", "clip.mpg", "movie.qt", "sub.d"}));
    EXPECT_EQ(all, (QStringList{"CLIP.MPG", "README", "clip.Mpg", "clip.mpg", "movie.qt", "notes.txt", "sub.d"}));
}

TEST_F(ChooserTest, ReturnsTheAbsolutePathOfTheChosenFile)
{
    std::string path;
    EXPECT_TRUE(Choose([](QFileDialog* dialog) { TypeAndOpen(dialog, "movie.qt"); }, &path));
    EXPECT_EQ(path, QFile::encodeName(media.filePath("movie.qt")).toStdString());
}

TEST_F(ChooserTest, CompletesTheDefaultExtensionInEitherCase)
{
    QFile::remove(media.filePath("CLIP.MPG"));
    std::string path;
    EXPECT_TRUE(Choose([](QFileDialog* dialog) { TypeAndOpen(dialog, "clip"); }, &path));
    EXPECT_EQ(path, QFile::encodeName(media.filePath("clip.mpg")).toStdString());
}

TEST_F(ChooserTest, RefusesAFileThatDoesNotExist)
{
    QString warning;
    bool stillOpen = false;
    std::string path = "unchanged";
    const bool chosen = Choose(
        [&](QFileDialog* dialog) {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                warning = box->text();
                box->accept();
            });
            TypeAndOpen(dialog, "missing");
            stillOpen = dialog->isVisible();
            dialog->reject();
        },
        &path);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(path, "unchanged");
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(warning.startsWith("missing\n")) << warning.toStdString();
}

}  // namespace
