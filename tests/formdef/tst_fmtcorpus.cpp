#include "fmtfuzzentry.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Replays the saved fuzz corpus, findings included, in every plain build.
class TestFmtCorpus : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus(QStringLiteral(FMT_CORPUS_DIR));
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY2(names.size() >= 10, "corpus missing");
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }
    void replay()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString broken = fmtInvariantBroken(file.readAll());
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
    }
};

QTEST_APPLESS_MAIN(TestFmtCorpus)
#include "tst_fmtcorpus.moc"
