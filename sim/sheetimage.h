#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One sheet as the reader's eyes see it. Sheet files are plain text:
//
//   #status 3          optional header lines before the rows; "#status N" sets the status code
//   # any other text   the feed returns for this sheet (0 = read), other "#" lines are comments
//   ..X.....1.....      one line per timing-mark line, up to 48 characters, one per eye from
//   ...............     the sheet's left edge: '.' empty, '1'-'9' a grey level, 'X' a full mark
//
// Shorter lines are empty to the right. Lines may end in CR LF.
class SheetImage
{
public:
    static constexpr int kEyeCount = 48;
    static constexpr int kFullMark = 15; // grey value of 'X'
    // What an eye reads, 0 to 255: a grey level d gives about kEyeStep × d, a full mark 255.
    static constexpr int kEyeStep = 28;
    static constexpr int kFullEye = 255;

    QString name; // file name in the tray, or the name given to a sheet added in memory
    int status = 0;
    QList<QByteArray> lines; // kEyeCount grey values (0..15) per timing-mark line

    // 0 outside the sheet.
    int grey(int line, int eye) const;
    int eyeValue(int line, int eye) const;
    void setGrey(int line, int eye, int value); // grows the sheet to that line

    static bool parse(const QByteArray &text, SheetImage *sheet, QString *error);
    QByteArray toText() const;
};
