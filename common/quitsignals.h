#pragma once

class QWidget;

// SIGTERM, SIGINT and SIGHUP close the given main window as the exit button would, so a
// program stopped from outside still says goodbye to the reader and writes what is pending.
void closeOnQuitSignals(QWidget *mainWindow);
