#include "BareFetch.h"

#include "dataset/InlineTexts.h"

#include "firebird/Statement.h"
#include "firebird/Transaction.h"

#include <stdexcept>
#include <vector>

namespace bench {

namespace {

std::vector<int> textBlobColumns(const firebird::Statement& st) {
    std::vector<int> out;
    const auto& columns = st.columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].type == firebird::ColumnType::Blob)
            out.push_back(static_cast<int>(i));
    }
    return out;
}

}  // namespace

Fetched bareFetch(firebird::Attachment& db, const std::string& sql, Blobs blobs) {
    firebird::Transaction tr = firebird::Transaction::start(db);
    Fetched out;
    {
        firebird::Statement st = firebird::Statement::prepare(db, tr, sql);
        const std::vector<int> blobColumns = textBlobColumns(st);
        std::string text;
        st.execute();
        while (st.fetch()) {
            ++out.rows;
            if (blobs == Blobs::NotRead)
                continue;
            for (int c : blobColumns) {
                if (st.isNull(c))
                    continue;
                text.clear();
                st.readBlob(c, text);
                out.textBytes += text.size();
                ++out.blobsRead;
            }
        }
    }
    tr.commit();
    return out;
}

Fetched inlineFetch(firebird::Attachment& db, const std::string& sql, std::size_t limit) {
    firebird::Transaction tr = firebird::Transaction::start(db);
    Fetched out;
    {
        const std::vector<firebird::ColumnInfo> columns =
            firebird::Statement::prepare(db, tr, sql).columns();
        const auto query = dataset::inlineTextQuery(sql, columns, limit);
        if (!query)
            throw std::runtime_error("the statement cannot bring its texts inline");
        firebird::Statement st = firebird::Statement::prepare(db, tr, query->sql);
        std::string text;
        st.execute();
        while (st.fetch()) {
            ++out.rows;
            for (std::size_t c = 0; c < query->inlineColumn.size(); ++c) {
                const int in = query->inlineColumn[c];
                const int blob = static_cast<int>(c);
                if (in < 0 || st.isNull(blob))
                    continue;
                if (!st.isNull(in)) {
                    out.textBytes += st.textValue(in).size();
                    continue;
                }
                text.clear();
                st.readBlob(blob, text);
                out.textBytes += text.size();
                ++out.blobsRead;
            }
        }
    }
    tr.commit();
    return out;
}

}  // namespace bench
