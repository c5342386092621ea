#pragma once

#include <QString>

// With no printer installed, a document that is printed is offered as a PDF file:
// the save dialog asks where, proposing the document's name. An empty text when the
// user cancels.
QString ChoosePdfPath(const QString &documentName);

// Makes ChoosePdfPath the print output's choice of PDF file; done once the print
// surface is first used.
void InstallPdfDestination();
