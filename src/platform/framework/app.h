#pragma once
// The application object and the program's entry. The one CWinApp of a process
// registers itself on construction; AfxWinMain sets up the toolkit, derives the
// application name and the command line, and runs InitInstance.

#include <string>

#include "platform/system/win_types.h"
#include "platform/toolkit/toolkit.h"

class CWnd;
class ProfileStore;

inline constexpr UINT ID_APP_EXIT = 57665;
inline constexpr UINT ID_HELP = 57670;

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Settings live under <config>/<registry key>/<application name>.conf. Reads see
    // written values at once; the file gets them once the writing handler has returned to
    // the event loop, at ExitInstance or when the application object ends, whichever is
    // first. A write that cannot be saved is dropped.
    void SetRegistryKey(const char* key);
    int GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    void CommitProfile();

    // Command routing: the window passes on what it does not handle.
    virtual BOOL OnCmdMsg(UINT id);
    void OnAppExit();

    void BeginWaitCursor();
    void EndWaitCursor();

    std::string m_pszAppName;
    std::string m_pszRegistryKey;
    std::string m_lpCmdLine;
    CWnd* m_pMainWnd = nullptr;

private:
    ProfileStore& Profile();
    ProfileStore* m_profile = nullptr;
    int m_waitDepth = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Sets up the toolkit from argv[0] only (the program owns the rest of its command
// line), then runs the registered application's InitInstance and ExitInstance.
int AfxWinMain(int argc, char** argv);

namespace platform {
// A close asked for from outside the window (a signal, the desktop): dialogs, choosers
// and menus in the way are dismissed, then the main window gets WM_CLOSE, so the close
// runs as Escape's does.
void RequestClose();
// A command that replaces what an open in progress waits for (another open asked for
// from outside): sent while a wait keeps the windows alive, it abandons that wait, as a
// close does, and runs once the wait is over. Every other command sent then waits.
void AbandonWaitsForCommand(UINT command);
// The application name for an executable path: its file name without directory
// and extension.
std::string AppNameFromExecutable(const std::string& path);
// The start-up text: the arguments after the program's name joined by blanks, or a
// URL first among them alone, a file:// URI as its local path.
std::string CommandLineFromArgs(int argc, const char* const* argv);
}  // namespace platform
