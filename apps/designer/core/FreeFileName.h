#pragma once
// Where Save As starts after a save failed: a folder the user can write to and a file name no file
// there has yet, so that accepting the dialog as it opens saves at once and overwrites nothing.
// No widget code.

#include <QString>

// The path in folder of wanted (a file name), or of "NAME 2.EXT", "NAME 3.EXT" … : the first at
// which nothing exists.
QString freeFilePath(const QString& folder, const QString& wanted);

// The user's documents folder (their home when there is none) with a free name for the file of
// failedPath ("Untitled.cvform" when it has none).
QString saveAsStartPath(const QString& failedPath);
