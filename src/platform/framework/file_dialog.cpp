#include "platform/framework/file_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"

namespace {

platform::OpenFileHook& Hook()
{
    static platform::OpenFileHook hook;
    return hook;
}

bool FileExists(const std::string& path)
{
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).isFile();
}

// The toolkit's dialog in "any file" mode, so that a name typed without its
// extension can be taken; the completion and the check that the file exists are
// ours.
class OpenFileDialog : public QFileDialog {
public:
    OpenFileDialog(QWidget* parent, std::string defaultExtension, bool fileMustExist)
        : QFileDialog(parent), m_defaultExtension(std::move(defaultExtension)), m_fileMustExist(fileMustExist)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::HideNameFilterDetails);
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::AnyFile);
    }

    // The chosen file, once the dialog has been accepted.
    const std::string& Chosen() const { return m_chosen; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() != 1 || QFileInfo(files.front()).isDir()) {
            QFileDialog::accept();  // opens the folder
            return;
        }
        const QString absolute = QDir::cleanPath(QFileInfo(files.front()).absoluteFilePath());
        const std::string typed = QFile::encodeName(absolute).toStdString();
        const std::string completed = platform::CompleteDefaultExtension(typed, m_defaultExtension, FileExists);
        if (m_fileMustExist && !FileExists(completed)) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("%1\nFile not found.\nPlease verify the correct file name was given.")
                                     .arg(QFileInfo(files.front()).fileName()));
            return;
        }
        // The name shown may differ from the one chosen, so the dialog's own
        // accept, which would take the shown one, is passed by.
        m_chosen = completed;
        QDialog::accept();
    }

private:
    std::string m_defaultExtension;
    bool m_fileMustExist;
    std::string m_chosen;
};

}  // namespace

void platform::SetOpenFileHook(OpenFileHook hook)
{
    Hook() = std::move(hook);
}

bool GetOpenFileName(const OpenFileRequest& request, std::string* path)
{
    if (Hook())
        return Hook()(request, path);

    QWidget* parent = request.owner ? platform::ClientWidgetOf(request.owner->GetSafeHwnd()) : nullptr;
    // On the heap: should the owner go away meanwhile, it takes the dialog with it.
    QPointer<OpenFileDialog> dialog =
        new OpenFileDialog(parent ? parent->window() : nullptr, request.defaultExtension, request.fileMustExist);

    QStringList filters;
    for (const auto& [description, patterns] : request.filters)
        filters << QString::fromStdString(platform::ChooserNameFilter(description, patterns));
    dialog->setNameFilters(filters);
    const int index = request.filterIndex - 1;
    if (index >= 0 && index < filters.size())
        dialog->selectNameFilter(filters.at(index));

    const bool accepted = dialog->exec() == QDialog::Accepted && dialog && !dialog->Chosen().empty();
    if (accepted && path)
        *path = dialog->Chosen();
    delete dialog.data();
    return accepted;
}
