#pragma once

#include "formprompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>
#include <QStringList>

// Answers the window's dialogs from a script and records what was asked.
class ScriptedPrompts final : public FormPrompts {
public:
    struct Shown {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    struct FileAsked {
        QFileDialog::AcceptMode mode;
        QString directory;
        QStringList selected;
        QStringList filters;
        QString selectedFilter;
        QString defaultSuffix;
        bool confirmsOverwrite;
    };

    QQueue<QString> files;                      // chosen paths; empty string: cancel
    QQueue<QMessageBox::StandardButton> buttons; // answers; when empty, the box's first button
    QList<Shown> messages;
    QList<FileAsked> fileDialogs;

    bool execFileDialog(QFileDialog &dialog) override
    {
        fileDialogs.append({dialog.acceptMode(), dialog.directory().absolutePath(), dialog.selectedFiles(),
                            dialog.nameFilters(), dialog.selectedNameFilter(), dialog.defaultSuffix(),
                            !dialog.testOption(QFileDialog::DontConfirmOverwrite)});
        const QString choice = files.isEmpty() ? QString() : files.dequeue();
        if (choice.isEmpty())
            return false;
        dialog.selectFile(choice);
        return true;
    }

    int execMessageBox(QMessageBox &box) override
    {
        messages.append({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
        if (!buttons.isEmpty())
            return buttons.dequeue();
        return box.standardButtons() & QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Cancel;
    }
};
