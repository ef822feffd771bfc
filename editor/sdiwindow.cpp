#include "sdiwindow.h"

#include "findtext.h"
#include "imagebutton.h"
#include "msgbox.h"
#include "settingsfile.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSettings>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

const QString kCaptionPrefix = QStringLiteral("ORVEL- NOT DEFTERİ - ");
const QString kUntitledName = QStringLiteral("BAŞLIKSIZ");
const QString kUntitledFile = QStringLiteral("BASLIKSIZ.txt");
// The text box of the system holds at most 64 KB; larger files are refused, not cut.
constexpr qint64 kTooLarge = 65001;
constexpr int kRecentCount = 4;

// Where the recent-file list lives: application "NotDefteri", section "Recent Files".
QSettings recentStore()
{
    return QSettings(QSettings::UserScope, QStringLiteral("NotDefteri"));
}

QString recentKey(int number)
{
    return QStringLiteral("RecentFile%1").arg(number);
}

// A path or font name shown as a menu caption must not turn "&" into a mnemonic.
QString menuCaption(const QString &text)
{
    QString caption = text;
    return caption.replace(u'&', QStringLiteral("&&"));
}

// The hourglass while a file is read or written, restored on every way out.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QAction *namedAction(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction *namedSeparator(QMenu *menu, const QString &name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(name);
    return action;
}

QMenu *namedMenu(QMenuBar *bar, const QString &name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

// Text leaving the box for the clipboard or the find box: its line breaks as plain newlines.
QString plainSelection(const QTextCursor &cursor)
{
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

} // namespace

SdiWindow::SdiWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmSDI"));
    resize(640, 480);

    askOpenFileName = [this](const QString &startPath) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Aç"), startPath);
    };
    askSaveFileName = [this](const QString &offeredPath) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Farklı Kaydet"), offeredPath);
    };

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildToolbar();
    txtNote = new QPlainTextEdit(central);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The layout does what the system's resize routine did: the toolbar on top when shown and
    // the text box filling the rest.
    column->addWidget(picToolbar);
    column->addWidget(txtNote, 1);
    setCentralWidget(central);

    buildMenus();
    buildFontMenu();

    connect(txtNote, &QPlainTextEdit::textChanged, this, [this] { gDirty = true; });

    startUntitled();
    GetRecentFiles();
}

void SdiWindow::buildMenus()
{
    QMenuBar *bar = menuBar();

    mnuFile = namedMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&Dosya"));
    mnuFileNew = namedAction(mnuFile, QStringLiteral("mnuFileNew"), QStringLiteral("&Yeni"));
    mnuFileOpen = namedAction(mnuFile, QStringLiteral("mnuFileOpen"), QStringLiteral("Aç"));
    mnuFileSave = namedAction(mnuFile, QStringLiteral("mnuFileSave"), QStringLiteral("Kaydet"));
    mnuFileSaveAs =
        namedAction(mnuFile, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Farklı Kaydet"));
    mnuFSep1 = namedSeparator(mnuFile, QStringLiteral("mnuFSep1"));
    mnuFileExit = namedAction(mnuFile, QStringLiteral("mnuFileExit"), QStringLiteral("Çıkış"));
    mnuRecentFile.append(namedSeparator(mnuFile, QStringLiteral("mnuRecentFile_0")));
    for (int i = 1; i <= 5; ++i) {
        QAction *item = namedAction(mnuFile, QStringLiteral("mnuRecentFile_%1").arg(i),
                                    QStringLiteral("RecentFile%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { openRecentFile(i); });
        mnuRecentFile.append(item);
    }
    for (QAction *item : std::as_const(mnuRecentFile))
        item->setVisible(false);

    connect(mnuFileNew, &QAction::triggered, this, &SdiWindow::FileNew);
    connect(mnuFileOpen, &QAction::triggered, this, &SdiWindow::FileOpenProc);
    connect(mnuFileSave, &QAction::triggered, this, &SdiWindow::FileSave);
    connect(mnuFileSaveAs, &QAction::triggered, this, &SdiWindow::fileSaveAs);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);

    mnuEdit = namedMenu(bar, QStringLiteral("mnuEdit"), QStringLiteral("&Düzelt"));
    mnuEditCut = namedAction(mnuEdit, QStringLiteral("mnuEditCut"), QStringLiteral("Kes"));
    mnuEditCut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy = namedAction(mnuEdit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Kopyala"));
    mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste = namedAction(mnuEdit, QStringLiteral("mnuEditPaste"), QStringLiteral("Yapıştır"));
    mnuEditPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEditDelete = namedAction(mnuEdit, QStringLiteral("mnuEditDelete"), QStringLiteral("Sil"));
    mnuEditDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    mnuEditSep1 = namedSeparator(mnuEdit, QStringLiteral("mnuEditSep1"));
    mnuEditSelectAll =
        namedAction(mnuEdit, QStringLiteral("mnuEditSelectAll"), QStringLiteral("Hepsini Seç"));
    mnuEditTime = namedAction(mnuEdit, QStringLiteral("mnuEditTime"), QStringLiteral("Saat/Tarih"));

    connect(mnuEditCut, &QAction::triggered, this, &SdiWindow::EditCutProc);
    connect(mnuEditCopy, &QAction::triggered, this, &SdiWindow::EditCopyProc);
    connect(mnuEditPaste, &QAction::triggered, this, &SdiWindow::EditPasteProc);
    connect(mnuEditDelete, &QAction::triggered, this, &SdiWindow::editDelete);
    connect(mnuEditSelectAll, &QAction::triggered, this, &SdiWindow::editSelectAll);
    connect(mnuEditTime, &QAction::triggered, this, &SdiWindow::editTime);

    mnuSearch = namedMenu(bar, QStringLiteral("mnuSearch"), QStringLiteral("&Ara"));
    mnuSearchFind = namedAction(mnuSearch, QStringLiteral("mnuSearchFind"), QStringLiteral("&Bul"));
    mnuSearchFindNext = namedAction(mnuSearch, QStringLiteral("mnuSearchFindNext"),
                                    QStringLiteral("Sonrakini Bul"));
    mnuSearchFindNext->setShortcut(QKeySequence(Qt::Key_F3));
    connect(mnuSearchFind, &QAction::triggered, this, &SdiWindow::searchFind);
    connect(mnuSearchFindNext, &QAction::triggered, this, &SdiWindow::searchFindNext);

    mnuOptions = namedMenu(bar, QStringLiteral("mnuOptions"), QStringLiteral("Seçenekler"));
    mnuOptionsToolbar =
        namedAction(mnuOptions, QStringLiteral("mnuOptionsToolbar"), QStringLiteral("&Araçlar"));
    mnuOptionsToolbar->setCheckable(true);
    mnuOptionsToolbar->setChecked(true);
    connect(mnuOptionsToolbar, &QAction::triggered, this, &SdiWindow::toggleToolbar);

    mnuFonts = namedMenu(bar, QStringLiteral("mnuFonts"), QStringLiteral("&Karakter"));
}

void SdiWindow::buildToolbar()
{
    picToolbar = new QWidget(this);
    picToolbar->setObjectName(QStringLiteral("picToolbar"));
    picToolbar->setAutoFillBackground(true);
    QPalette strip = picToolbar->palette();
    strip.setColor(QPalette::Window, QColor(192, 192, 192));
    picToolbar->setPalette(strip);
    auto *row = new QHBoxLayout(picToolbar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(0);

    auto makeButton = [this, row](const QString &name, ToolbarPicture picture, bool gapBefore) {
        auto *up = new QLabel(picToolbar);
        up->setObjectName(name + QStringLiteral("Up"));
        up->setPixmap(toolbarPicture(picture, false));
        up->hide();
        auto *dn = new QLabel(picToolbar);
        dn->setObjectName(name + QStringLiteral("Dn"));
        dn->setPixmap(toolbarPicture(picture, true));
        dn->hide();
        auto *button = new ImageButton(up, dn, picToolbar);
        button->setObjectName(name);
        if (gapBefore)
            row->addSpacing(8);
        row->addWidget(button);
        return button;
    };
    imgFileNewButton =
        makeButton(QStringLiteral("imgFileNewButton"), ToolbarPicture::FileNew, false);
    imgFileOpenButton =
        makeButton(QStringLiteral("imgFileOpenButton"), ToolbarPicture::FileOpen, false);
    imgCutButton = makeButton(QStringLiteral("imgCutButton"), ToolbarPicture::Cut, true);
    imgCopyButton = makeButton(QStringLiteral("imgCopyButton"), ToolbarPicture::Copy, false);
    imgPasteButton = makeButton(QStringLiteral("imgPasteButton"), ToolbarPicture::Paste, false);
    row->addStretch(1);

    connect(imgFileNewButton, &ImageButton::clicked, this, &SdiWindow::FileNew);
    connect(imgFileOpenButton, &ImageButton::clicked, this, &SdiWindow::FileOpenProc);
    connect(imgCutButton, &ImageButton::clicked, this, &SdiWindow::EditCutProc);
    connect(imgCopyButton, &ImageButton::clicked, this, &SdiWindow::EditCopyProc);
    connect(imgPasteButton, &ImageButton::clicked, this, &SdiWindow::EditPasteProc);
}

void SdiWindow::buildFontMenu()
{
    const QStringList families = QFontDatabase::families();
    QAction *first = namedAction(mnuFonts, QStringLiteral("mnuFontName_0"),
                                 families.isEmpty() ? QStringLiteral("Karakter Adı")
                                                    : menuCaption(families.first()));
    mnuFontName.append(first);
    for (qsizetype i = 1; i < families.size(); ++i)
        mnuFontName.append(namedAction(mnuFonts, QStringLiteral("mnuFontName_%1").arg(i),
                                       menuCaption(families.at(i))));
    for (qsizetype i = 0; i < families.size(); ++i) {
        mnuFontName.at(i)->setData(families.at(i));
        connect(mnuFontName.at(i), &QAction::triggered, this, [this, i] { chooseFont(int(i)); });
    }
}

// ---- document, caption and files

void SdiWindow::setCaption(const QString &name)
{
    setWindowTitle(kCaptionPrefix + name);
}

QString SdiWindow::captionName() const
{
    return windowTitle().mid(kCaptionPrefix.size());
}

void SdiWindow::startUntitled()
{
    txtNote->clear();
    m_path.clear();
    m_usualEnd = LineEnd::CrLf;
    setCaption(kUntitledName);
    gDirty = false;
}

QString SdiWindow::startFolder() const
{
    return m_path.isEmpty() ? omrHome() : QFileInfo(m_path).absolutePath();
}

bool SdiWindow::OpenFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && info.size() >= kTooLarge) {
        MsgBox::show(this, QStringLiteral("Dosya açılamayacak kadar büyük"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MsgBox::show(this, QStringLiteral("Dosya açılamıyor : ") + path);
        return false;
    }
    WaitCursor wait;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        MsgBox::show(this, QStringLiteral("Dosya açılamıyor : ") + path);
        return false;
    }

    const TextLines text = splitTextLines(bytes);
    txtNote->setPlainText(text.lines.join(u'\n'));
    QTextBlock block = txtNote->document()->begin();
    for (const LineEnd end : text.ends) {
        block.setUserState(int(end));
        block = block.next();
    }
    m_usualEnd = text.usual;
    m_path = path;
    setCaption(path.toUpper());
    gDirty = false;
    return true;
}

TextLines SdiWindow::documentLines() const
{
    TextLines text;
    text.usual = m_usualEnd;
    for (QTextBlock block = txtNote->document()->begin(); block.isValid(); block = block.next()) {
        // A soft break (Shift+Enter) is a line end in the file like any other.
        const QStringList parts = block.text().split(QChar::LineSeparator);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            text.lines.append(parts.at(i));
            if (i + 1 < parts.size())
                text.ends.append(m_usualEnd);
        }
        if (block.next().isValid()) {
            const int state = block.userState();
            text.ends.append(state >= 0 && state <= 2 ? LineEnd(state) : m_usualEnd);
        }
    }
    return text;
}

bool SdiWindow::SaveFile(const QString &path)
{
    const QByteArray bytes = joinTextLines(documentLines());
    // Written beside the file and put in its place only when complete, so a full disk or a
    // failing write never leaves the operator's file half written.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    bool written = false;
    {
        WaitCursor wait;
        written =
            file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    }
    if (!written) {
        MsgBox::show(this, file.errorString(), MsgBox::Buttons::Ok, MsgBox::Icon::Warning);
        return false;
    }
    m_path = path;
    setCaption(path);
    gDirty = false;
    return true;
}

QString SdiWindow::GetFileName(const QString &defaultName)
{
    const QString offered = defaultName.isEmpty() || QFileInfo(defaultName).isAbsolute()
                                ? defaultName
                                : QDir(startFolder()).filePath(defaultName);
    return askSaveFileName(offered.isEmpty() ? startFolder() : offered);
}

bool SdiWindow::FileSave()
{
    const QString name = m_path.isEmpty() ? GetFileName(QString()) : m_path;
    return !name.isEmpty() && SaveFile(name);
}

void SdiWindow::fileSaveAs()
{
    const QString name = GetFileName(m_path.isEmpty() ? kUntitledFile : m_path);
    if (name.isEmpty())
        return;
    if (SaveFile(name))
        UpdateFileMenu(name);
}

void SdiWindow::FileNew()
{
    if (gDirty && !FileSave())
        return;
    startUntitled();
}

void SdiWindow::FileOpenProc()
{
    if (gDirty && !FileSave())
        return;
    const QString path = askOpenFileName(startFolder());
    if (path.isEmpty())
        return;
    if (OpenFile(path))
        UpdateFileMenu(path);
}

void SdiWindow::openRecentFile(int index)
{
    // Same care as "Aç": unsaved work is saved first, and a too large file is refused.
    if (gDirty && !FileSave())
        return;
    const QString path = mnuRecentFile.at(index)->data().toString();
    if (OpenFile(path))
        UpdateFileMenu(path);
}

bool SdiWindow::saveBeforeClose()
{
    if (m_path.isEmpty()) {
        const QString name = GetFileName(kUntitledFile);
        return !name.isEmpty() && SaveFile(name);
    }
    return SaveFile(m_path);
}

void SdiWindow::closeEvent(QCloseEvent *event)
{
    if (gDirty) {
        const MsgBox::Answer answer =
            MsgBox::show(this,
                         captionName() + QStringLiteral("' deki bilgi değiştirildi.") + u'\n' +
                             QStringLiteral("Değişikliler kayıt edilsin mi?"),
                         MsgBox::Buttons::YesNoCancel, MsgBox::Icon::Warning, windowTitle());
        // A save that did not happen (dialog cancelled, write error) keeps the window open
        // rather than throwing the operator's changes away.
        if (answer == MsgBox::Answer::Cancel ||
            (answer == MsgBox::Answer::Yes && !saveBeforeClose())) {
            event->ignore();
            return;
        }
    }
    if (m_findDialog)
        m_findDialog->close();
    // The next opening starts as a freshly loaded window.
    startUntitled();
    m_find.gFindDirection = 1;
    event->accept();
}

// ---- editing

void SdiWindow::EditCutProc()
{
    QTextCursor cursor = txtNote->textCursor();
    if (!cursor.hasSelection())
        return;
    QGuiApplication::clipboard()->setText(plainSelection(cursor));
    cursor.removeSelectedText();
    txtNote->setTextCursor(cursor);
}

void SdiWindow::EditCopyProc()
{
    const QTextCursor cursor = txtNote->textCursor();
    if (cursor.hasSelection())
        QGuiApplication::clipboard()->setText(plainSelection(cursor));
}

void SdiWindow::EditPasteProc()
{
    // An empty clipboard leaves the selection alone instead of deleting it.
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        txtNote->insertPlainText(text);
}

void SdiWindow::editDelete()
{
    if (txtNote->document()->isEmpty())
        return;
    QTextCursor cursor = txtNote->textCursor();
    // A line end is one step in the box, so the file's CR LF always goes as a pair.
    if (!cursor.hasSelection())
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    txtNote->setTextCursor(cursor);
}

void SdiWindow::editSelectAll()
{
    txtNote->selectAll();
}

void SdiWindow::editTime()
{
    txtNote->insertPlainText(timeStamp(QLocale::system(), QDateTime::currentDateTime()));
}

QString SdiWindow::timeStamp(const QLocale &locale, const QDateTime &when)
{
    // The short time format leaves the seconds out; the system's date and time keep them.
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains(u's'))
        timeFormat.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), timeFormat);
}

// ---- find

void SdiWindow::searchFind()
{
    if (m_findDialog) {
        m_findDialog->raise();
        m_findDialog->activateWindow();
        return;
    }
    const QTextCursor cursor = txtNote->textCursor();
    QString start = m_find.gFindText;
    if (cursor.hasSelection())
        start = plainSelection(cursor).section(u'\n', 0, 0);
    m_findDialog = new FindDialog(m_find, start, this);
    m_findDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_findDialog, &FindDialog::findRequested, this, &SdiWindow::FindIt);
    m_findDialog->show();
}

void SdiWindow::searchFindNext()
{
    if (m_find.gFindText.isEmpty())
        searchFind();
    else
        FindIt();
}

void SdiWindow::FindIt()
{
    const QString &what = m_find.gFindText;
    QTextCursor cursor = txtNote->textCursor();
    const int caret = cursor.selectionStart();
    const QString text = txtNote->document()->toRawText();
    int found = -1;
    if (m_find.gFindDirection == 1) {
        // Standing on the last hit: move on, or the same hit would be found again.
        const bool repeat = caret == m_find.gLastFindPos && !m_find.gNewSearch;
        found = findForward(text, what, repeat ? caret + 1 : caret, m_find.gFindCase);
    } else {
        // Upwards only hits that start before the caret count, so a hit is never found twice.
        found = findBackward(text, what, caret, m_find.gFindCase);
    }

    if (found >= 0) {
        cursor.setPosition(found);
        cursor.setPosition(found + int(what.size()), QTextCursor::KeepAnchor);
        txtNote->setTextCursor(cursor);
        txtNote->ensureCursorVisible();
    } else {
        QWidget *owner = m_findDialog ? static_cast<QWidget *>(m_findDialog) : this;
        MsgBox::show(owner, QStringLiteral("Bulunamıyor ") + u'"' + what + u'"');
    }
    m_find.gLastFindPos = txtNote->textCursor().selectionStart();
    m_find.gNewSearch = false;
}

// ---- recent files

void SdiWindow::GetRecentFiles()
{
    QSettings store = recentStore();
    store.beginGroup(QStringLiteral("Recent Files"));
    if (store.value(recentKey(1)).toString().isEmpty())
        return;
    int shown = 0;
    for (int number = 1; number <= kRecentCount; ++number) {
        const QString path = store.value(recentKey(number)).toString();
        if (path.isEmpty())
            continue;
        ++shown;
        mnuRecentFile.at(shown)->setText(menuCaption(path));
        mnuRecentFile.at(shown)->setData(path);
        mnuRecentFile.at(shown)->setVisible(true);
    }
    mnuRecentFile.at(0)->setVisible(true);
}

bool SdiWindow::OnRecentFilesList(const QString &path) const
{
    for (int i = 1; i <= kRecentCount; ++i) {
        if (mnuRecentFile.at(i)->isVisible() && mnuRecentFile.at(i)->data().toString() == path)
            return true;
    }
    return false;
}

void SdiWindow::WriteRecentFiles(const QString &path)
{
    QSettings store = recentStore();
    store.beginGroup(QStringLiteral("Recent Files"));
    for (int number = kRecentCount - 1; number >= 1; --number) {
        const QString older = store.value(recentKey(number)).toString();
        if (!older.isEmpty())
            store.setValue(recentKey(number + 1), older);
    }
    store.setValue(recentKey(1), path);
}

void SdiWindow::UpdateFileMenu(const QString &path)
{
    if (!OnRecentFilesList(path))
        WriteRecentFiles(path);
    GetRecentFiles();
}

// ---- options

void SdiWindow::toggleToolbar(bool shown)
{
    picToolbar->setVisible(shown);
}

void SdiWindow::chooseFont(int index)
{
    QFont font = txtNote->font();
    font.setFamily(mnuFontName.at(index)->data().toString());
    txtNote->setFont(font);
}
