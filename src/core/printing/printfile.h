#pragma once

#include <QString>

class QWidget;
class frmHTMLPrintPreview;

// The last two steps of printing from a template: the filled text written to a file named
// like the template in the user's private temporary folder, and that file shown in a new
// HTML print preview that deletes it when it closes.

// Writes text (UTF-8 with a byte-order mark, then a line end) to the print file of
// templatePath, replacing a file of that name, and returns its path. On failure the user
// is told through ShowProblem and "" comes back; nothing is written anywhere else.
QString WritePrintFile(const QString& templatePath, const QString& text);

// Opens a preview owned by parent on the print file, which the preview deletes when it
// goes. templatesFolder (may be "") is where the template's own pictures may be shown from.
frmHTMLPrintPreview* PreviewPrintFile(const QString& path, QWidget* parent,
                                      const QString& templatesFolder);
