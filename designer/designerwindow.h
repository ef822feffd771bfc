#pragma once

#include "definitionmodel.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class HelpWindow;
class PreviewWindow;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The written form designer, menu: a definition is named, loaded from the FMT folder, entered
// field by field through the entry line into the definition grid, and saved as an FMT file.
// The grid and the hidden occupancy map show model(), which the visual designer shares.
// Closing the window deletes it.
class DesignerWindow : public QWidget
{
    Q_OBJECT

public:
    // fmtFolder: the FMT folder as a prefix, ending with its separator.
    explicit DesignerWindow(const QString &fmtFolder, QWidget *parent = nullptr);
    ~DesignerWindow() override;

    formdef::DefinitionModel &model() { return m_model; }
    // The file the save writes; "" while no definition is named.
    QString fmtPath() const { return m_path; }

    // The preview window calls this when it closes: the designer is usable again.
    void previewClosed();
    // The open preview window, or nullptr.
    PreviewWindow *preview() const;

    QLabel *Label1;
    QComboBox *DNAME;
    QListWidget *File1;
    QLabel *Label2;
    QLineEdit *CSAY;
    QLabel *Label3;
    QList<QRadioButton *> Opt1; // 0 "Solda" (tag "D"), 1 "Sağda" (tag "T")
    QLabel *TNOT;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;
    QLabel *Label8;
    QLineEdit *SNO;
    QLineEdit *SAT1;
    QLineEdit *SAT2;
    QLineEdit *SUT1;
    QLineEdit *SUT2;
    QComboBox *DURUM;
    QComboBox *KARAKTER;
    QLineEdit *BASLIK;
    QLineEdit *KBILGI;
    QPushButton *CommandEKLE;
    QPushButton *CommandKAYDET;
    QPushButton *CommandBAK;
    QPushButton *CommandHELP;
    // Headings over the grid's columns.
    QLabel *Label9;
    QLabel *Label10;
    QLabel *Label11;
    QLabel *Label12;
    QLabel *Label13;
    QLabel *Label14;
    QLabel *Label15;
    QLabel *Label16;
    QLabel *Label17;
    QLabel *Label19;
    QLabel *Label20;
    QLabel *Label21;
    QLabel *Label23;
    QTableWidget *TABLO;
    QLabel *Label18;
    QTableWidget *MTag;
    QLabel *FTIP;

signals:
    // A definition was written to fileName (with its ".fmt") in the FMT folder.
    void fileSaved(const QString &fileName);
    // CommandBAK found a count and opened the preview; the designer stays disabled until the
    // preview closes.
    void previewRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QWidget *buildGridHead(const QList<int> &widths);
    void listDefinitions();
    void setNameControlsEnabled(bool enabled);

    void chooseDefinition();
    void leaveNameless();
    QString pathFor(const QString &name) const;
    bool mayDropChanges();
    bool save();

    void entryFromSno();
    void clearEntry();
    void addEntry();
    void selectRow(int row);
    void openPreview();
    void openHelp();

    void showGrid();
    void showMap();
    void showCount(const QString &count);
    void showDirection(QChar direction);

    formdef::DefinitionModel m_model;
    QString m_fmtFolder;
    QString m_path;
    bool m_choosing = false;
    bool m_clearingEntry = false;
    QList<QWidget *> m_nameControls;
    QPointer<HelpWindow> m_help;
    // A window of its own: a child window would be disabled with the designer.
    QPointer<PreviewWindow> m_preview;
};
