#include "BulkWriter.h"

#include "Attachment.h"

namespace firebird {

BulkWriter::BulkWriter(Attachment& attachment, std::string_view sql, std::size_t commitEvery,
                       const TransactionOptions& options)
    : attachment_(&attachment),
      options_(options),
      commitEvery_(commitEvery == 0 ? 1 : commitEvery),
      transaction_(Transaction::start(attachment, options)),
      statement_(ParamStatement::prepare(attachment, transaction_, sql)) {}

void BulkWriter::execute() {
    // The statement outlives its transactions; a commit leaves the next one to start here.
    if (!transaction_.active())
        transaction_ = Transaction::start(*attachment_, options_);
    statement_.execute();
    ++executed_;
    if (executed_ - committed_ >= commitEvery_)
        commit();
}

void BulkWriter::commit() {
    if (!transaction_.active())
        return;
    transaction_.commit();
    committed_ = executed_;
}

}  // namespace firebird
