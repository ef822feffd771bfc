#pragma once

#include <QString>

// Searching the editor's text. Positions are those of the text box: a line end counts as one.

// Upper case as a Turkish reader expects it (i → İ, ı → I), one character for one, so that
// positions in the folded text are positions in the original.
QString foldForSearch(const QString &text);

// The first occurrence starting at or after `from`, or -1.
int findForward(const QString &text, const QString &what, int from, bool caseSensitive);

// The nearest occurrence starting before `before`, or -1.
int findBackward(const QString &text, const QString &what, int before, bool caseSensitive);
