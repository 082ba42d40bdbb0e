#pragma once

#include "firebird/Attachment.h"

#include <cstddef>
#include <string>

namespace bench {

// What a loop brought: rows, and the text bytes it read (inline or as blobs).
struct Fetched {
    std::size_t rows = 0;
    std::size_t textBytes = 0;
    std::size_t blobsRead = 0;
};

enum class Blobs { NotRead, EveryOne };

// The bare loop over the client library layer: prepare, execute, fetch every
// row; blobs either left alone or each read whole.
Fetched bareFetch(firebird::Attachment& db, const std::string& sql, Blobs blobs);

// The provider's rewritten statement fetched bare: texts up to `limit` bytes
// come inline, and only the longer ones are read as blobs. The result holds
// the same whole texts as reading every blob.
Fetched inlineFetch(firebird::Attachment& db, const std::string& sql, std::size_t limit);

}  // namespace bench
