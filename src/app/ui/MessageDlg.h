#pragma once
// The program's own modal message box: a picture by its kind, the text, and the buttons
// "确定" (1) and "放弃" (2). The question kind shows both and reports the one that closed it;
// the information and warning kinds show "确定" alone, centred. Every message the program
// shows goes through it (it is installed as platform::ShowMessage).

#include "platform/Hooks.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orv {

class CMessageDlg : public QDialog {
    Q_OBJECT
public:
    enum Control : int {
        kText = 1037,
        kPictureQuestion = 1038,
        kPictureInformation = 1039,
        kPictureWarning = 1040,
        kButtonOk = 1,
        kButtonCancel = 2,
    };

    CMessageDlg(QWidget* owner, const QString& text, const QString& caption, platform::MessageKind kind);

    // Shows the message modally over owner (the active window when null); 1 or 2.
    static int Show(QWidget* owner, const QString& text, const QString& caption, platform::MessageKind kind);

    // Sets platform::ShowMessage to this dialog, over the active window.
    static void Install();

protected:
    void reject() override; // the close box and Escape answer "放弃"
};

} // namespace orv
