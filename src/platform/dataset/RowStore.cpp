#include "RowStore.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace dataset {

namespace {

constexpr std::size_t fixedSize(FieldType type) {
    switch (type) {
        case FieldType::Float:
            return sizeof(double);
        case FieldType::Date:
            return sizeof(ISC_DATE);
        case FieldType::Time:
            return sizeof(ISC_TIME);
        default:
            return 0;
    }
}

template <typename T>
T load(const char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

RowStore::RowStore(std::vector<FieldDef> fields) : fields_(std::move(fields)) {
    nullBytes_ = (fields_.size() + 7) / 8;
    std::size_t at = nullBytes_;
    for (const FieldDef& f : fields_) {
        const bool text = f.type == FieldType::String || f.type == FieldType::Memo;
        if (text) {
            slots_.push_back({static_cast<std::uint32_t>(textCount_++), true});
        } else {
            slots_.push_back({static_cast<std::uint32_t>(at), false});
            at += fixedSize(f.type);
        }
    }
    fixedEnd_ = at;
    pending_.assign(fixedEnd_, 0);
    std::memset(pending_.data(), 0xFF, nullBytes_);
    texts_.assign(textCount_, {});
}

const RowStore::Slot& RowStore::slot(int field, FieldType expected) const {
    if (field < 0 || static_cast<std::size_t>(field) >= fields_.size())
        badField(field);
    const FieldType actual = fields_[field].type;
    const bool ok =
        actual == expected || (expected == FieldType::String && actual == FieldType::Memo);
    if (!ok)
        throw std::invalid_argument("field " + fields_[field].name + " has another type");
    return slots_[field];
}

void RowStore::markSet(int field) noexcept {
    pending_[field / 8] = static_cast<char>(pending_[field / 8] & ~(1 << (field % 8)));
}

void RowStore::setNull(int field) noexcept {
    pending_[field / 8] = static_cast<char>(pending_[field / 8] | (1 << (field % 8)));
    if (slots_[field].text) {
        texts_[slots_[field].offset] = {};
    } else {
        std::memset(pending_.data() + slots_[field].offset, 0, fixedSize(fields_[field].type));
    }
}

void RowStore::setFloat(int field, double value) {
    std::memcpy(pending_.data() + slot(field, FieldType::Float).offset, &value, sizeof value);
    markSet(field);
}

void RowStore::setDate(int field, ISC_DATE value) {
    std::memcpy(pending_.data() + slot(field, FieldType::Date).offset, &value, sizeof value);
    markSet(field);
}

void RowStore::setTime(int field, ISC_TIME value) {
    std::memcpy(pending_.data() + slot(field, FieldType::Time).offset, &value, sizeof value);
    markSet(field);
}

void RowStore::setText(int field, std::string_view value) {
    if (value.size() > UINT32_MAX)
        throw std::length_error("text too long");
    texts_[slot(field, FieldType::String).offset] = value;
    markSet(field);
}

void RowStore::commitRow() {
    std::size_t size = fixedEnd_ + textCount_ * sizeof(std::uint32_t);
    std::size_t valueBytes = 0;
    for (int f = 0; f < static_cast<int>(fields_.size()); ++f) {
        const bool null = (pending_[f / 8] >> (f % 8)) & 1;
        if (null)
            continue;
        valueBytes += slots_[f].text ? texts_[slots_[f].offset].size() : fixedSize(fields_[f].type);
    }
    for (std::string_view t : texts_)
        size += t.size();

    if (count_ % kIndexBlock == 0) {
        index_.push_back(std::make_unique_for_overwrite<const char*[]>(kIndexBlock));
    }
    char* out = arena_.allocate(size);
    std::memcpy(out, pending_.data(), fixedEnd_);
    char* lengths = out + fixedEnd_;
    char* bytes = lengths + textCount_ * sizeof(std::uint32_t);
    for (std::string_view t : texts_) {
        const auto length = static_cast<std::uint32_t>(t.size());
        std::memcpy(lengths, &length, sizeof length);
        lengths += sizeof length;
        if (!t.empty())
            std::memcpy(bytes, t.data(), t.size());
        bytes += t.size();
    }
    index_.back()[count_ % kIndexBlock] = out;
    ++count_;
    rowBytes_ += valueBytes;

    discardRow();
}

void RowStore::discardRow() noexcept {
    // A null value reads as zero, not as the previous row's value.
    std::memset(pending_.data(), 0xFF, nullBytes_);
    std::memset(pending_.data() + nullBytes_, 0, fixedEnd_ - nullBytes_);
    for (std::string_view& t : texts_)
        t = {};
}

void RowStore::badRow(std::size_t row) {
    throw std::out_of_range("no row " + std::to_string(row));
}

void RowStore::badField(int field) {
    throw std::out_of_range("no field " + std::to_string(field));
}

double RowStore::floatValue(std::size_t row, int field) const {
    return load<double>(record(row) + slot(field, FieldType::Float).offset);
}

ISC_DATE RowStore::dateValue(std::size_t row, int field) const {
    return load<ISC_DATE>(record(row) + slot(field, FieldType::Date).offset);
}

ISC_TIME RowStore::timeValue(std::size_t row, int field) const {
    return load<ISC_TIME>(record(row) + slot(field, FieldType::Time).offset);
}

std::string_view RowStore::text(std::size_t row, int field) const {
    const std::size_t which = slot(field, FieldType::String).offset;
    const char* rec = record(row);
    const char* lengths = rec + fixedEnd_;
    std::size_t at = fixedEnd_ + textCount_ * sizeof(std::uint32_t);
    for (std::size_t i = 0; i < which; ++i)
        at += load<std::uint32_t>(lengths + i * 4);
    return {rec + at, load<std::uint32_t>(lengths + which * 4)};
}

std::size_t RowStore::bytesHeld() const noexcept {
    return arena_.bytesHeld() + index_.size() * kIndexBlock * sizeof(const char*);
}

}  // namespace dataset
