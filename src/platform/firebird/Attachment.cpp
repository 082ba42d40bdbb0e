#include "Attachment.h"

#include "DatabaseError.h"

#include <utility>

namespace firebird {

namespace {

void addString(std::string& dpb, char tag, const std::string& value) {
    if (value.size() > 255) {
        throw DatabaseError("Connection parameter longer than 255 bytes", 0, 0);
    }
    dpb += tag;
    dpb += static_cast<char>(value.size());
    dpb += value;
}

}  // namespace

std::string buildDpb(const ConnectionParams& params) {
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    addString(dpb, isc_dpb_user_name, params.user);
    addString(dpb, isc_dpb_password, params.password);
    if (!params.role.empty()) addString(dpb, isc_dpb_sql_role_name, params.role);
    if (!params.charset.empty()) addString(dpb, isc_dpb_lc_ctype, params.charset);
    dpb += static_cast<char>(isc_dpb_sql_dialect);
    dpb += static_cast<char>(4);
    for (int shift = 0; shift < 32; shift += 8) {
        dpb += static_cast<char>((static_cast<unsigned>(params.dialect) >> shift) & 0xFF);
    }
    return dpb;
}

Attachment Attachment::attach(const ConnectionParams& params) {
    if (params.database.size() > 32767) {
        throw DatabaseError("Database path too long", 0, 0);
    }
    const std::string dpb = buildDpb(params);
    StatusVector sv;
    Attachment result;
    isc_attach_database(sv.get(), static_cast<short>(params.database.size()),
                        params.database.c_str(), &result.handle_,
                        static_cast<short>(dpb.size()), dpb.data());
    sv.check();
    result.dialect_ = params.dialect;
    return result;
}

Attachment Attachment::adopt(isc_db_handle handle) noexcept {
    Attachment result;
    result.handle_ = handle;
    return result;
}

Attachment::Attachment(Attachment&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)), dialect_(other.dialect_) {}

Attachment& Attachment::operator=(Attachment&& other) noexcept {
    if (this != &other) {
        if (handle_ != 0) {
            StatusVector sv;
            isc_detach_database(sv.get(), &handle_);
        }
        handle_ = std::exchange(other.handle_, 0);
        dialect_ = other.dialect_;
    }
    return *this;
}

Attachment::~Attachment() {
    if (handle_ != 0) {
        StatusVector sv;
        isc_detach_database(sv.get(), &handle_);
    }
}

void Attachment::detach() {
    if (handle_ == 0) return;
    StatusVector sv;
    isc_detach_database(sv.get(), &handle_);
    if (sv.failed()) {
        // A lost connection cannot be detached cleanly; drop the handle anyway.
        handle_ = 0;
        throw sv.error();
    }
    handle_ = 0;
}

}  // namespace firebird
