#include "ResultSet.h"

#include <stdexcept>
#include <string>

namespace dataset {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

}  // namespace

void ResultSet::open(RowStore rows, PacketParams params) {
    close();
    rows_.emplace(std::move(rows));
    params_ = std::move(params);
    current_ = 0;
    eof_ = rows_->size() == 0;
    notify(ResultSetEvent::Opened);
}

void ResultSet::close() {
    if (!rows_)
        return;
    rows_.reset();
    params_ = {};
    current_ = 0;
    eof_ = true;
    notify(ResultSetEvent::Closed);
}

const std::vector<FieldDef>& ResultSet::fields() const noexcept {
    static const std::vector<FieldDef> none;
    return rows_ ? rows_->fields() : none;
}

int ResultSet::fieldIndex(std::string_view name) const noexcept {
    const auto& defs = fields();
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (sameName(defs[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

void ResultSet::first() {
    if (recordCount() == 0)
        return;
    eof_ = false;
    if (current_ == 0)
        return;
    current_ = 0;
    notify(ResultSetEvent::RowChanged);
}

void ResultSet::next() {
    if (eof_)
        return;
    if (current_ + 1 >= recordCount()) {
        eof_ = true;  // stays on the last row, as a dataset does
        return;
    }
    ++current_;
    notify(ResultSetEvent::RowChanged);
}

void ResultSet::moveTo(std::size_t row) {
    if (row >= recordCount())
        throw std::out_of_range("no row " + std::to_string(row));
    eof_ = false;
    if (row == current_)
        return;
    current_ = row;
    notify(ResultSetEvent::RowChanged);
}

ResultSet::ListenerId ResultSet::subscribe(Listener listener) {
    listeners_.emplace_back(nextId_, std::move(listener));
    return nextId_++;
}

void ResultSet::unsubscribe(ListenerId id) noexcept {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void ResultSet::notify(ResultSetEvent event) {
    // A copy, so a listener may unsubscribe while being told.
    const auto listeners = listeners_;
    for (const auto& entry : listeners)
        entry.second(event);
}

const RowStore& ResultSet::rows() const {
    if (!rows_)
        throw std::logic_error("the result set is closed");
    return *rows_;
}

double ResultSet::floatValue(std::size_t row, int field) const {
    return rows().floatValue(row, field);
}

ISC_DATE ResultSet::rawDate(std::size_t row, int field) const {
    return rows().dateValue(row, field);
}

firebird::CivilDate ResultSet::date(std::size_t row, int field) const {
    return firebird::civilFromIscDate(rawDate(row, field));
}

ISC_TIME ResultSet::rawTime(std::size_t row, int field) const {
    return rows().timeValue(row, field);
}

TimeValue ResultSet::time(std::size_t row, int field) const {
    return timeValueFromIscTime(rawTime(row, field));
}

std::string_view ResultSet::text(std::size_t row, int field) const {
    return rows().text(row, field);
}

}  // namespace dataset
