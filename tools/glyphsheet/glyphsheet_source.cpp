#include "glyphsheet_source.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPainter>
#include <array>
#include <optional>

namespace {

constexpr int CellSize = 14;
constexpr int CellCount = 100;

QString LineError(int lineNumber, const QString &message)
{
    return QStringLiteral("line %1: %2").arg(lineNumber).arg(message);
}

// Parses "colour C R G B [name]"; the words after the keyword are given.
std::optional<std::pair<QChar, QRgb>> ParseColour(const QList<QStringView> &words, int lineNumber,
                                                  QString *error)
{
    if (words.size() < 5) {
        *error = LineError(lineNumber, QStringLiteral("colour needs a character and three numbers"));
        return std::nullopt;
    }
    if (words[1].size() != 1 || words[1][0].isSpace()) {
        *error = LineError(lineNumber, QStringLiteral("colour character must be a single character"));
        return std::nullopt;
    }
    std::array<int, 3> rgb{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = words[2 + i].toInt(&ok);
        if (!ok || value < 0 || value > 255) {
            *error = LineError(lineNumber, QStringLiteral("colour component \"%1\" is not 0..255")
                                               .arg(words[2 + i].toString()));
            return std::nullopt;
        }
        rgb[i] = value;
    }
    return std::pair{words[1][0], qRgb(rgb[0], rgb[1], rgb[2])};
}

} // namespace

QImage GlyphSheetFromSource(QStringView sourceText, QString *error)
{
    QString localError;
    QString &err = error ? *error : localError;
    err.clear();

    QImage sheet(CellSize * CellCount, CellSize, QImage::Format_ARGB32);
    sheet.fill(qRgba(0, 0, 0, 0));

    QHash<QChar, QRgb> globalPalette;
    QHash<QChar, QRgb> cellPalette;
    std::array<bool, CellCount> seen{};
    int currentCell = -1; // cell whose rows are being read, -1 outside cells
    int currentRow = 0;
    int cellStartLine = 0;

    auto fail = [&](const QString &message) {
        err = message;
        return QImage();
    };

    const QList<QStringView> lines = sourceText.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i) + 1;
        const QStringView line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;

        const QList<QStringView> words = line.split(u' ', Qt::SkipEmptyParts);
        const QStringView keyword = words.first();

        if (keyword == u"colour") {
            if (currentCell >= 0 && currentRow > 0)
                return fail(LineError(lineNumber, QStringLiteral("colour inside the pixel rows of cell %1")
                                                      .arg(currentCell)));
            const auto colour = ParseColour(words, lineNumber, &err);
            if (!colour)
                return QImage();
            if (currentCell >= 0)
                cellPalette.insert(colour->first, colour->second);
            else if (globalPalette.contains(colour->first))
                return fail(LineError(lineNumber, QStringLiteral("colour '%1' defined twice")
                                                      .arg(colour->first)));
            else
                globalPalette.insert(colour->first, colour->second);
            continue;
        }

        if (keyword == u"cell") {
            if (currentCell >= 0)
                return fail(LineError(lineNumber, QStringLiteral("cell %1 has %2 rows, expected %3")
                                                      .arg(currentCell).arg(currentRow).arg(CellSize)));
            bool ok = false;
            const int index = words.size() >= 2 ? words[1].toInt(&ok) : -1;
            if (!ok || index < 0 || index >= CellCount)
                return fail(LineError(lineNumber, QStringLiteral("cell number must be 0..%1").arg(CellCount - 1)));
            if (seen[index])
                return fail(LineError(lineNumber, QStringLiteral("cell %1 defined twice").arg(index)));
            seen[index] = true;
            currentCell = index;
            currentRow = 0;
            cellStartLine = lineNumber;
            cellPalette = globalPalette;
            continue;
        }

        // Anything else is a pixel row.
        if (currentCell < 0)
            return fail(LineError(lineNumber, QStringLiteral("pixel row outside a cell")));
        if (words.size() != 1 || line.size() != CellSize)
            return fail(LineError(lineNumber, QStringLiteral("row of cell %1 has %2 characters, expected %3")
                                                  .arg(currentCell).arg(line.size()).arg(CellSize)));
        for (int x = 0; x < CellSize; ++x) {
            const auto it = cellPalette.constFind(line[x]);
            if (it == cellPalette.constEnd())
                return fail(LineError(lineNumber, QStringLiteral("unknown palette character '%1' in cell %2")
                                                      .arg(line[x]).arg(currentCell)));
            sheet.setPixel(currentCell * CellSize + x, currentRow, *it);
        }
        if (++currentRow == CellSize)
            currentCell = -1;
    }

    if (currentCell >= 0)
        return fail(LineError(cellStartLine, QStringLiteral("cell %1 has %2 rows, expected %3")
                                                 .arg(currentCell).arg(currentRow).arg(CellSize)));
    for (int n = 0; n < CellCount; ++n) {
        if (!seen[n])
            return fail(QStringLiteral("cell %1 is missing").arg(n));
    }
    return sheet;
}

QImage GlyphSheetPreview(const QImage &sheet, int scale, int cellsPerRow)
{
    const int cells = sheet.width() / CellSize;
    const int rows = (cells + cellsPerRow - 1) / cellsPerRow;
    const int cellPixels = CellSize * scale;
    const int gap = 4;
    const int labelHeight = 16;
    const int pitchX = cellPixels + gap;
    const int pitchY = cellPixels + labelHeight + gap;

    QImage out(cellsPerRow * pitchX + gap, rows * pitchY + gap, QImage::Format_ARGB32);
    out.fill(qRgb(40, 40, 40));
    QPainter painter(&out);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(220, 220, 220));
    for (int n = 0; n < cells; ++n) {
        const int x = gap + (n % cellsPerRow) * pitchX;
        const int y = gap + (n / cellsPerRow) * pitchY;
        painter.drawText(QRect(x, y, cellPixels, labelHeight), Qt::AlignCenter, QString::number(n));
        const QImage cell = sheet.copy(n * CellSize, 0, CellSize, CellSize)
                                .scaled(cellPixels, cellPixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter.drawImage(x, y + labelHeight, cell);
    }
    painter.end();
    return out;
}
