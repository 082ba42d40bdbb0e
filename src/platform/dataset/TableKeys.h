#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace firebird {
class Attachment;
class Transaction;
}  // namespace firebird

namespace dataset {

// The column names of a table's keys, as the server's system tables list them.
struct TableKeys {
    std::vector<std::string> primaryKey;  // the primary-key index
    std::vector<std::string> uniqueKey;   // the primary-key index, else the first unique index
};

TableKeys readTableKeys(firebird::Attachment& attachment, firebird::Transaction& transaction,
                        std::string_view table);

}  // namespace dataset
