#include "TextSearch.h"

#include "CharWidths.h"

#include <algorithm>

namespace report {

namespace {

std::optional<TextMatch> findOnPage(const Page& page, int pageIndex, const QString& needle,
                                    int fromItem, int fromChar) {
    for (int i = fromItem; i < static_cast<int>(page.texts.size()); ++i) {
        const QString& text = page.texts[static_cast<std::size_t>(i)].text;
        const int from = i == fromItem ? fromChar : 0;
        const qsizetype at = text.indexOf(needle, from, Qt::CaseInsensitive);
        if (at >= 0) {
            return TextMatch{pageIndex, i, static_cast<int>(at), static_cast<int>(needle.size())};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<TextMatch> findNext(const PageSource& source, const QString& needle,
                                  const std::optional<TextMatch>& after, int fromPage) {
    const int count = source.pageCount();
    if (needle.isEmpty() || count == 0)
        return std::nullopt;
    const int first = after ? after->page : std::clamp(fromPage, 0, count - 1);
    // One extra turn reaches the part of the first page before the start.
    for (int step = 0; step <= count; ++step) {
        const int index = (first + step) % count;
        const Page page = source.page(index);
        const bool startPage = step == 0;
        const int fromItem = startPage && after ? after->item : 0;
        const int fromChar = startPage && after ? after->start + 1 : 0;
        if (auto match = findOnPage(page, index, needle, fromItem, fromChar))
            return match;
    }
    return std::nullopt;
}

QRectF matchRect(const Page& page, const TextMatch& match) {
    const TextItem& item = page.texts.at(static_cast<std::size_t>(match.item));
    const CharWidths& widths = CharWidths::of(item.font);
    const double x = item.pos.x() + widths.textWidth(item.text.left(match.start));
    const double w = widths.textWidth(item.text.mid(match.start, match.length));
    return QRectF(x, item.pos.y(), w, widths.lineHeight());
}

}  // namespace report
