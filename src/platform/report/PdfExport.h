#pragma once

#include "Page.h"

#include <QString>

namespace report {

// Writes every page to an A4 PDF (fonts embedded as subsets, text extractable).
// The file is written beside the target under a temporary name and renamed over
// it at the end, so a failure leaves an existing file as it was and no
// temporary file behind. Throws FileError.
void writePdf(const PageSource& source, const QString& path, const QString& title);

}  // namespace report
