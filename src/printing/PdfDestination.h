#pragma once

#include <QString>

// A document that goes to a file asks where with the save dialog, proposing the
// document's name where it replaces no file, and again while the name chosen is one of
// the open address book's files. An empty text when the user cancels.
QString ChoosePdfPath(const QString &documentName);

// Makes ChoosePdfPath the print output's choice of PDF file, and shows the pages written
// into a PDF file in a progress window with Cancel; done once the print surface is first
// used.
void InstallPdfDestination();
