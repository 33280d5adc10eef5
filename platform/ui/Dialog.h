// A dialog built from a template resource: run modally (with its own message
// loop and message pre-translation) or created as a modeless child. Messages
// are routed to virtual handlers; controls are bound to their objects in
// DoDataExchange.
#pragma once

#include <windows.h>

#include "platform/ui/Dpi.h"
#include "platform/ui/Window.h"

namespace tv::ui {

// Binds control ids to control objects; each bound control is subclassed
// by its object.
class DataExchange {
public:
    explicit DataExchange(HWND dialog) : dialog_(dialog) {}
    void Control(int id, Window& control) const { control.SubclassDlgItem(id, dialog_); }

private:
    HWND dialog_;
};

class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    ~Dialog() override;

    int TemplateId() const { return templateId_; }

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the window cannot be created.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog as a modeless window (a child when the template
    // says so) of `parent`.
    bool Create(HWND parent);
    // Ends a modal run (the window is destroyed when the loop returns).
    void EndDialog(INT_PTR result);
    bool IsModal() const { return modal_; }

    // Called by the modal loop for each message aimed at this dialog or one
    // of its descendants before it is dispatched. True: consumed.
    virtual bool PreTranslateMessage(MSG& message);
    // True once a modal dialog has been told to end.
    bool Ending() const { return ending_; }

protected:
    virtual void DoDataExchange(DataExchange& exchange);
    // Default initialisation: data exchange. Returns true to let the system
    // set the default focus.
    virtual bool OnInitDialog();
    // WM_COMMAND. True when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // WM_NOTIFY. True when handled; the result goes in *result.
    virtual bool OnNotify(const NMHDR& header, LRESULT* result);
    // WM_CTLCOLOR*: the brush for `control` (the dialog itself for
    // WM_CTLCOLORDLG), or null for the default colours.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
    virtual void OnDestroy();
    // IDOK / IDCANCEL: end a modal run; a modeless page does nothing.
    virtual void OnOK();
    virtual void OnCancel();
    // Every other message. True when handled (the result goes in *result);
    // false lets the dialog's default processing run.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Offers a message to the dialogs from its target up to this one.
    bool PreTranslateTree(MSG& message);

    int templateId_;
    // The template's pictures as drawn for the screen, when not 96 dpi.
    DialogImages dpiImages_;
    bool modal_ = false;
    bool ending_ = false;
    INT_PTR result_ = 0;
};

}  // namespace tv::ui
