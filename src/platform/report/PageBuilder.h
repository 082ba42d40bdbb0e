#pragma once

#include "Page.h"

#include <QDateTime>
#include <QString>

#include <cstddef>

namespace report {

class ReportLayout;

// "Página 1 de 3".
QString pageSetDescription(std::size_t pageNumber, std::size_t pageCount);
// dd/MM/yyyy HH:mm:ss, or the date alone at exactly midnight.
QString printDateTimeText(const QDateTime& moment);

// Builds the drawn items of one page of a layout: header, the detail bands that
// fall on it and footer. `printedAt` is the moment the report was run.
Page buildPage(const ReportLayout& layout, std::size_t index, const QDateTime& printedAt);

}  // namespace report
