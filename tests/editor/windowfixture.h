#pragma once

#include "scriptedprompts.h"
#include "tform1.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A main window over a temporary folder (its settings file lives there too),
// with its dialogs answered by a script. Test classes derive from it next to
// QObject and call startWindow() and stopWindow() from init() and cleanup().
class WindowFixture {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;

    QString path(const QString &name) const { return dir.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("renvika.ini")); }

    // A new window, shown; the settings file is kept, the script emptied.
    void startWindow()
    {
        prompts = {};
        form = std::make_unique<TForm1>(settingsPath(), &prompts);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    // Closes the window without asking about its changes.
    void stopWindow()
    {
        if (form)
            form->Memo1->document()->setModified(false);
        form.reset();
    }

    void open(const QString &file)
    {
        prompts.files.enqueue(file);
        form->actOpen->trigger();
    }

    void save(const QString &file)
    {
        prompts.files.enqueue(file);
        form->actSave->trigger();
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto &shown : prompts.messages)
            texts.append(shown.text);
        return texts;
    }
};
