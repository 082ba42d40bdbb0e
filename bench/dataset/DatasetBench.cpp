// Fetch and export speed of the dataset library against the bare fetch, on
// 100,000 log rows of about 200-byte texts. Prints figures; asserts nothing.
//
//   bench/dataset/DatasetBench [server] [rows]      (server defaults to localhost)

#include "dataset/Provider.h"
#include "dataset/XmlPacket.h"

#include "firebird/DatabaseError.h"
#include "firebird/SqlConnection.h"
#include "firebird/SqlDataSet.h"
#include "firebird/Statement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Best of a few runs, so one slow run of the machine does not decide.
double best(int runs, const std::function<void()>& work) {
    double t = 1e9;
    for (int i = 0; i < runs; ++i)
        t = std::min(t, seconds(work));
    return t;
}

std::string createDatabase(const std::string& server, std::string& dir) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tracora-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    ::chmod(pattern.c_str(), 0777);
    dir = pattern;
    const std::string dsn = server + ":" + pattern + "/BENCH.FDB";
    const std::string sql =
        "CREATE DATABASE '" + dsn + "' USER 'SYSDBA' PASSWORD 'pelicanos' PAGE_SIZE 8192";
    firebird::StatusVector sv;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_dsql_execute_immediate(sv.get(), &db, &tr, 0, sql.c_str(), 3, nullptr);
    sv.check();
    firebird::Attachment::adopt(db).detach();
    return dsn;
}

std::size_t bareFetch(firebird::SqlConnection& c, const std::string& sql) {
    firebird::SqlDataSet q(c, sql);
    q.open();
    std::size_t n = 0;
    for (; !q.eof(); q.next())
        ++n;
    q.close();
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string server = argc > 1 ? argv[1] : "localhost";
    const int rows = argc > 2 ? std::atoi(argv[2]) : 100000;
    std::string dir;
    try {
        const std::string dsn = createDatabase(server, dir);
        firebird::SqlConnection c;
        c.params().add("Database=" + dsn);
        c.params().add("User_Name=SYSDBA");
        c.params().add("Password=pelicanos");
        c.params().add("LocaleCode=0000");
        c.open();
        c.execute(
            "CREATE TABLE LOG (ID DOUBLE PRECISION NOT NULL, DATA DATE, HORA TIME, USUARIO "
            "VARCHAR(30), "
            "ACAO VARCHAR(8), TABELA VARCHAR(31), LOG BLOB SUB_TYPE TEXT SEGMENT SIZE 80, PRIMARY "
            "KEY (ID))");
        c.execute("CREATE INDEX IX_DATA ON LOG(DATA)");
        // Texts of 150 to 250 bytes, with a line break and an 8-bit byte each.
        c.execute(
            "EXECUTE BLOCK AS DECLARE i INT = 1; BEGIN WHILE (i <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO LOG VALUES (:i, CURRENT_DATE, CURRENT_TIME, 'USUARIO' || "
            "MOD(:i, 7), "
            "'INCLUIU', 'CLIENTES', 'Registro ' || :i || ASCII_CHAR(13) || ASCII_CHAR(10) || "
            "RPAD('Campo alterado de ''a'' para ''b'' & \xE7\xE3o <x> ', 140 + MOD(:i * 37, 101), "
            "'abcdefghij')); i = i + 1; END END");
        std::printf("%d rows over %s\n", rows, server.c_str());

        const std::string all = "SELECT * FROM LOG ORDER BY ID";
        bareFetch(c, all);  // warm the server's cache
        const double bare = best(3, [&] { bareFetch(c, all); });
        std::printf("  bare fetch, blobs not read                 %7.3f s  (1.00x)\n", bare);
        const double cast = best(3, [&] {
            bareFetch(c,
                      "SELECT ID, DATA, HORA, USUARIO, ACAO, TABELA, CAST(LOG AS VARCHAR(1000)) "
                      "FROM LOG ORDER BY ID");
        });
        std::printf("  bare fetch, CAST(LOG AS VARCHAR(1000))     %7.3f s  (%.2fx)\n", cast,
                    cast / bare);

        const double rewritten = best(3, [&] {
            bareFetch(c,
                      "SELECT LOG.*, IIF(OCTET_LENGTH(LOG.\"LOG\") <= 1000, CAST(LOG.\"LOG\" AS "
                      "VARCHAR(1000)), "
                      "NULL) FROM LOG ORDER BY ID");
        });
        std::printf("  bare fetch of the provider's statement     %7.3f s  (%.2fx)\n", rewritten,
                    rewritten / bare);

        firebird::SqlDataSet sql(c, all);
        dataset::Provider provider(sql);
        dataset::ResultSet set;
        for (const std::size_t limit : {256u, 512u, 1000u, 2000u, 4000u}) {
            provider.setInlineTextLimit(limit);
            const double t = best(3, [&] { provider.open(set); });
            std::printf("  provider, texts inline up to %4zu bytes    %7.3f s  (%.2fx)%s\n", limit,
                        t, t / bare, provider.inlinedTexts() ? "" : "  NOT INLINED");
        }
        provider.setInlineTextLimit(dataset::Provider::kDefaultInlineLimit);
        provider.open(set);
        std::printf("  memory: %zu bytes held for %zu bytes of values (%.3fx)\n", set.bytesHeld(),
                    set.rowBytes(), double(set.bytesHeld()) / double(set.rowBytes()));

        // Every blob read costs round trips per row: measured on a tenth.
        sql.setCommandText("SELECT * FROM LOG WHERE ID <= " + std::to_string(rows / 10) +
                           " ORDER BY ID");
        provider.setInlineTextLimit(0);
        const double blobs = seconds([&] { provider.open(set); });
        std::printf("  provider, every blob read (%d rows)     %7.3f s  (x10 = %.1f s)\n",
                    rows / 10, blobs, blobs * 10);

        sql.setCommandText(all);
        provider.setInlineTextLimit(dataset::Provider::kDefaultInlineLimit);
        provider.open(set);
        std::string packet;
        const double build = best(5, [&] { packet = dataset::toXmlPacket(set); });
        const std::string file = dir + "/Log.xml";
        const double write = best(5, [&] {
            const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 ||
                ::write(fd, packet.data(), packet.size()) != static_cast<ssize_t>(packet.size())) {
                throw std::runtime_error("write failed");
            }
            ::close(fd);
        });
        std::printf("  XML packet of %zu bytes: built in %.4f s, one write(2) %.4f s (%.2fx)\n",
                    packet.size(), build, write, build / write);
        set.close();
        c.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench failed: %s\n", e.what());
        std::filesystem::remove_all(dir);
        return 1;
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
