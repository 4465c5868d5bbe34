#pragma once
// The green-on-black panel beside the picture: a splash at start, then the info
// page painted from the fields that the player window writes.

#include <string>

#include "platform/framework/dialog.h"

class CLabelPanel : public CDialog {
public:
    explicit CLabelPanel(CWnd* parent = nullptr);
    ~CLabelPanel() override;

    // Ends the splash if it still runs and repaints the status strip at once,
    // erasing it first when `bErase` is TRUE.
    void RefreshStatusStrip(BOOL bErase);
    // The info page is up with its status line, so the progress bar is on screen.
    bool ShowsProgressBar() const;

    std::string m_strStatus;
    std::string m_strName;
    std::string m_strVideoSize;
    std::string m_strTime;
    std::string m_strSize;
    std::string m_strDate;
    std::string m_strError;
    double m_dPosition = 0.0;
    double m_dDuration = 0.0;
    int m_nTick = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnTimer(std::uintptr_t id);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void PaintSplash(CDC& dc);
    void PaintInfo(CDC& dc);
    void ForwardToParent(UINT message, WPARAM wParam, LPARAM lParam);
};
