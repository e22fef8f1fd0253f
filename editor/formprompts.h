#pragma once

class QFileDialog;
class QMessageBox;

// Where the window's modal dialogs run. The window configures each dialog
// and hands it here; the default runs it for the user, a test answers it.
class FormPrompts {
public:
    virtual ~FormPrompts() = default;
    // True when the user accepted the dialog (its selected file is the choice).
    virtual bool execFileDialog(QFileDialog &dialog) = 0;
    // The standard button the user pressed.
    virtual int execMessageBox(QMessageBox &box) = 0;
};

class ModalPrompts final : public FormPrompts {
public:
    bool execFileDialog(QFileDialog &dialog) override;
    int execMessageBox(QMessageBox &box) override;
};
