#pragma once

#include "finddialog.h"
#include "textlines.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>

class ImageButton;
class QAction;
class QMenu;
class QPlainTextEdit;

// The text editor window: one plain-text document of the system's own files (FMT, DAT, any
// text file), read and written as code page 1254 bytes.
class SdiWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit SdiWindow(QWidget *parent = nullptr);

    // The file dialogs; tests replace them. Each gets the path to start from (for saving, the
    // name offered) and returns the chosen path, or "" when the operator cancelled.
    std::function<QString(const QString &startPath)> askOpenFileName;
    std::function<QString(const QString &offeredPath)> askSaveFileName;

    bool isDirty() const { return gDirty; }
    // What "Saat/Tarih" inserts: the date and the time with its seconds, in the locale's way.
    static QString timeStamp(const QLocale &locale, const QDateTime &when);
    // The document's file, "" while untitled.
    QString filePath() const { return m_path; }

    // Reads the whole file into the text box; false (with a message) when it cannot be read.
    bool OpenFile(const QString &path);
    // Writes the text box to the file; false (with a message) when that failed.
    bool SaveFile(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildFontMenu();
    void startUntitled();
    void setCaption(const QString &name);
    QString captionName() const;

    QString GetFileName(const QString &defaultName);
    void FileNew();
    void FileOpenProc();
    bool FileSave();
    void fileSaveAs();
    bool saveBeforeClose();

    void EditCutProc();
    void EditCopyProc();
    void EditPasteProc();
    void editDelete();
    void editSelectAll();
    void editTime();

    void searchFind();
    void searchFindNext();
    void FindIt();

    void GetRecentFiles();
    void WriteRecentFiles(const QString &path);
    bool OnRecentFilesList(const QString &path) const;
    void UpdateFileMenu(const QString &path);
    void openRecentFile(int index);

    void toggleToolbar(bool shown);
    void chooseFont(int index);

    TextLines documentLines() const;
    QString startFolder() const;

    QPlainTextEdit *txtNote;
    QWidget *picToolbar;
    ImageButton *imgFileNewButton;
    ImageButton *imgFileOpenButton;
    ImageButton *imgCutButton;
    ImageButton *imgCopyButton;
    ImageButton *imgPasteButton;

    QMenu *mnuFile;
    QAction *mnuFileNew;
    QAction *mnuFileOpen;
    QAction *mnuFileSave;
    QAction *mnuFileSaveAs;
    QAction *mnuFSep1;
    QAction *mnuFileExit;
    QList<QAction *> mnuRecentFile; // 0 the separator, 1..5 the files
    QMenu *mnuEdit;
    QAction *mnuEditCut;
    QAction *mnuEditCopy;
    QAction *mnuEditPaste;
    QAction *mnuEditDelete;
    QAction *mnuEditSep1;
    QAction *mnuEditSelectAll;
    QAction *mnuEditTime;
    QMenu *mnuSearch;
    QAction *mnuSearchFind;
    QAction *mnuSearchFindNext;
    QMenu *mnuOptions;
    QAction *mnuOptionsToolbar;
    QMenu *mnuFonts;
    QList<QAction *> mnuFontName;

    bool gDirty = false;
    QString m_path;
    LineEnd m_usualEnd = LineEnd::CrLf;
    FindState m_find;
    QPointer<FindDialog> m_findDialog;
};
