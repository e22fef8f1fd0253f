#pragma once

#include "commandblockindex.h"

#include <QMainWindow>
#include <QMessageBox>
#include <memory>

class BlockCaptionModel;
class FormPrompts;
class PictureView;
class QAction;
class QComboBox;
class QFileDialog;
class QLabel;
class QMenuBar;
class QPlainTextEdit;
class QScrollArea;

// The editor's one window: the command list as text on the right, its blocks
// and a live preview of the selected block on the left.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // settingsPath is where the window keeps its bounds between runs;
    // prompts runs its dialogs (nullptr: modally, for the user).
    explicit TForm1(QString settingsPath, FormPrompts *prompts = nullptr, QWidget *parent = nullptr);
    ~TForm1() override;

    // Components, as laid out in the window.
    PictureView *Image2;
    QWidget *GridPanel1;
    QWidget *Panel1;
    QWidget *Panel2;
    QScrollArea *ScrollBox1;
    PictureView *Image1;
    QComboBox *ComboBox1;
    QObject *ActionManager1;
    QAction *actUpdateCommand;
    QPlainTextEdit *Memo1;
    QLabel *Label2;
    QLabel *Label1;
    QAction *Action1;
    QMenuBar *ActionMainMenuBar1;
    QFileDialog *OpenDialog1;
    QAction *actOpen;
    QAction *actSave;
    QFileDialog *SaveDialog1;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormClose();
    void Memo1Change(int position, int charsRemoved, int charsAdded);
    void ComboBox1Change();
    void actUpdateCommandExecute();
    bool FormMouseWheel(int wheelDelta, const QPoint &mousePos);
    bool Memo1KeyPress(QChar key);
    void Image1Click();
    void Action1Execute();
    void actOpenExecute();
    void actSaveExecute();

protected:
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createComponents();
    void createActions();
    void createMenus();
    void connectHandlers();
    void refreshSelection(int saved, qint64 startedMs);
    void showElapsed(qint64 startedMs);
    int showMessage(QMessageBox::Icon icon, const QString &caption, const QString &text,
                    QMessageBox::StandardButtons buttons);
    void showError(const QString &text);
    bool maybeSave();
    bool saveToChosenFile();
    void setOuterBounds(const QRect &bounds);
    void fitFrameOnce();
    void LoadWindowSettings();
    void SaveWindowSettings();

    std::unique_ptr<CommandBlockIndex> commands;
    bool datopened = false;
    QString filename;

    BlockCaptionModel *blockCaptions;
    std::unique_ptr<FormPrompts> ownPrompts;
    FormPrompts *prompts;
    const QString settingsPath;
    QRect outerBounds;         // as last set, the window manager's frame included
    bool shown = false;
    bool frameFitted = false;  // outerBounds applied with the frame known
    bool replacingText = false; // a file's text is going in: refresh once it is in
};

extern TForm1 *Form1;
