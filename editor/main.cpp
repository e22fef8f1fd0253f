#include "commandfile.h"
#include "tform1.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The application's own title. No display name is set: Qt would append
    // it to every window caption.
    QApplication::setApplicationName(u"Renvika v1"_s);

    // The editor speaks Japanese whatever the system locale: Qt's own dialogs
    // and buttons too, where Qt's translations are installed.
    QTranslator qtTranslations;
    if (qtTranslations.load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    if (!Cp932DecoderAvailable()) {
        QMessageBox::critical(nullptr, u"エラー"_s,
                              u"Shift_JIS (コードページ 932) の変換機能が使えないため、起動できません。"_s);
        return 1;
    }

    TForm1 form(QDir(QCoreApplication::applicationDirPath()).filePath(u"renvika.ini"_s));
    Form1 = &form;
    form.show();
    const int result = app.exec();
    Form1 = nullptr;
    return result;
}
