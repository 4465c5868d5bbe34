#pragma once
// Dialogs built from templates. A template with WS_CHILD makes a child window; one
// with WS_THICKFRAME and no caption a frameless top-level window with a sizing
// frame; one with WS_CAPTION a normal dialog with its controls. DoModal runs a
// nested event loop until EndDialog; the owner (the main window when no parent is
// given) is disabled meanwhile and keeps receiving its timers and posted messages.

#include <memory>
#include <string>

#include "platform/framework/wnd.h"

struct DialogTemplate;
struct DialogControls;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Copies `value` into the edit control `id` (or back, when saving).
void DDX_Text(CDataExchange* pDX, int id, std::string& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual std::intptr_t DoModal();
    // Creates the dialog modeless (a child when the template says WS_CHILD).
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Controls of template-built dialogs.
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(UINT id) override;
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    friend struct DialogControls;
    BOOL CreateFromTemplate(const DialogTemplate& tpl, CWnd* parent, bool modal);
    std::unique_ptr<DialogControls> m_controls;
    bool m_modalRunning = false;
    int m_result = 0;
    void* m_loop = nullptr;
};

// Message boxes, modal to `owner`.
int AfxMessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type);
