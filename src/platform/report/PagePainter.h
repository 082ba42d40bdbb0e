#pragma once

#include "Page.h"

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace report {

// Draws a page with the painter's current transform taken as millimetres.
void paintPage(QPainter& painter, const Page& page);

// Draws pages first..last (0-based, inclusive) onto a paged device such as a PDF
// writer or a printer set to full-page mode, one sheet each. Throws when the
// device cannot be painted on.
void paintPages(const PageSource& source, QPagedPaintDevice& device, int first, int last);

// Prints the pages the printer's range selects (all of them when none is set).
void printPages(const PageSource& source, QPrinter& printer);

}  // namespace report
