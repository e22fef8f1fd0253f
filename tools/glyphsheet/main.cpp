// glyphsheet-gen: builds the glyph sheet PNG from its text source.
//
//   glyphsheet-gen <source.txt> <out.png>              the 1400 x 14 sheet
//   glyphsheet-gen --preview <source.txt> <out.png>    8x enlargement, 20 cells a row
#include "glyphsheet_source.h"

#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    // Text for the preview labels needs fonts; never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    bool preview = false;
    if (!args.isEmpty() && args.first() == u"--preview") {
        preview = true;
        args.removeFirst();
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: glyphsheet-gen [--preview] <source.txt> <out.png>\n");
        return 2;
    }

    QFile source(args[0]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "glyphsheet-gen: cannot read %s\n", qPrintable(args[0]));
        return 1;
    }
    QString error;
    const QImage sheet = GlyphSheetFromSource(QString::fromUtf8(source.readAll()), &error);
    if (sheet.isNull()) {
        std::fprintf(stderr, "glyphsheet-gen: %s: %s\n", qPrintable(args[0]), qPrintable(error));
        return 1;
    }

    const QImage out = preview ? GlyphSheetPreview(sheet, 8, 20) : sheet;
    if (!out.save(args[1], "PNG")) {
        std::fprintf(stderr, "glyphsheet-gen: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
