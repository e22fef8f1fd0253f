#include "formprompts.h"

#include <QFileDialog>
#include <QMessageBox>

bool ModalPrompts::execFileDialog(QFileDialog &dialog)
{
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
}

int ModalPrompts::execMessageBox(QMessageBox &box)
{
    box.exec();
    return box.standardButton(box.clickedButton());
}
