#pragma once

#include <vector>

namespace dataset {

// What the provider learns about the statement and its table while it fills a
// result set. Positions are 1-based field positions; an empty list is unknown.
struct PacketParams {
    std::vector<int> defaultOrder;  // fields of the statement's ORDER BY
    std::vector<int> primaryKey;    // fields of the table's primary-key index
    std::vector<int> uniqueKey;     // fields of the table's unique index
    long lcid = 0;                  // the connection's locale code
};

}  // namespace dataset
