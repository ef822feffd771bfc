#pragma once

#include <QByteArray>
#include <QList>

// The forms and answers the tests read, shared so that each is written once.
namespace Samples {

// The worked example: 8-digit number (columns), 25 answers A-E (rows), booklet letter A/B that
// stops automatic reading on B. 34 characters a sheet.
inline const QByteArray kSinav = "40=12=00=D=\r\n"
                                 "03=12=02=09=H=D=0123456789=X=[NUMARA]\r\n"
                                 "14=38=02=06=H=Y=ABCDE=X=[CEVAP]\r\n"
                                 "03=03=11=12=H=Y=AB=X=[KITAPCIK](-B)\r\n";

// Timing marks on the right: reversed sets; Turkish caption, title and set in code page 1254.
inline const QByteArray kAnket = "30=14=00=T=[MEMNUN\xDDYET ANKET\xDD]\r\n"
                                 "02=02=01=10=H=Y=9876543210=X=[SINIF]\r\n"
                                 "03=03=01=04=H=Y=\xDE\xC7\x42\x41=X=[\xDEUBE]\r\n"
                                 "04=13=01=02=H=D=9876543210=X=[YA\xDE]\r\n"
                                 "15=17=10=14=H=Y=EDCBA=X=[CEVAP](-EE)\r\n";

inline const QByteArray kAnswers1 = "ABCDEABCDEABCDEABCDEABCDE";
inline const QByteArray kAnswers2 = "EDCBAEDCBAEDCBAEDCBAEDCBA";

// The field values of one sheet of the worked example.
inline QList<QByteArray> sinavSheet(const QByteArray &number, const QByteArray &answers = kAnswers1,
                                    const QByteArray &booklet = "A")
{
    return {number, answers, booklet};
}

} // namespace Samples
