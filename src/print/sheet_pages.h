// System sheets on paper: each system starts a page of its own (upright),
// its head, stars and a table of its worlds with their moons under them;
// a system too long for one page goes on over the next ones. Laid out in
// points, so the same sheet prints alike on A4 or Letter.
#pragma once

#include <QSizeF>

#include <string>
#include <vector>

#include "print/paper.h"
#include "print/pdf_file.h"
#include "sheets/system_sheet.h"

class QPainter;

namespace orrimar::print {

// Draws `sheets` onto `painter` (whose device is one upright page of
// `paper`); newPage() is called before each further page. Returns the
// pages drawn.
int paintSheets(QPainter& painter, Paper paper, const std::vector<sheets::SystemSheet>& sheets, const NewPage& newPage);

// Writes the sheets as a PDF file at `path`.
void writeSheetsPdf(const std::vector<sheets::SystemSheet>& sheets, Paper paper, const std::string& path);

}  // namespace orrimar::print
