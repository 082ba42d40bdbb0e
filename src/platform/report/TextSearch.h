#pragma once

#include "Page.h"

#include <QRectF>
#include <QString>

#include <optional>

namespace report {

struct TextMatch {
    int page = 0;
    int item = 0;   // index into Page::texts
    int start = 0;  // in characters
    int length = 0;

    friend bool operator==(const TextMatch&, const TextMatch&) = default;
};

// Finds text in laid-out pages, building them one at a time: from just after
// `after` (or from the start of page `fromPage`) to the last page, then from the
// first page round again. Ignores case. Matches lie within one drawn line.
std::optional<TextMatch> findNext(const PageSource& source, const QString& needle,
                                  const std::optional<TextMatch>& after, int fromPage);

// Where a match lies on its page, in millimetres.
QRectF matchRect(const Page& page, const TextMatch& match);

}  // namespace report
