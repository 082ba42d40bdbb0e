#include "CommandLine.h"

#include "LogWriter.h"
#include "Provision.h"
#include "SyntheticLog.h"
#include "Windows1252.h"

#include "os/Os.h"
#include "widgets/Application.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: tracora-logwriter [--ini DIR] provision\n"
    "       tracora-logwriter [--ini DIR] entry USER ACTION TABLE TEXT\n"
    "       tracora-logwriter [--ini DIR] synthetic N [--seed S] [--long-every K] [--if-empty]\n"
    "\n"
    "Writes entries into the log database named by system.ini (in DIR; by default\n"
    "where the viewer would read it beside this program). Texts are taken as\n"
    "UTF-8 and written as Windows-1252. TABLE \"-\" means none. provision prepares\n"
    "the database as the viewer does on its first start.\n";

struct UsageError {
    std::string message;
};

std::uint64_t number(const std::string& text, const char* what) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || text[0] == '-')
        throw UsageError{std::string(what) + " must be a whole number: " + text};
    return value;
}

std::string cp1252(const std::string& utf8, const char* what) {
    auto bytes = logwriter::utf8ToWindows1252(utf8);
    if (!bytes)
        throw UsageError{std::string(what) + " holds characters Windows-1252 cannot write"};
    return *bytes;
}

int provision(int argc, char** argv) {
    // Headless whatever the desktop says: the writer never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::Application app(argc, argv);
    app.setTitle(QStringLiteral("Tracora"));
    const auto result = logwriter::provisionLog();
    for (const QString& m : result.messages)
        std::fprintf(stderr, "%s\n", qPrintable(m));
    const auto database = logwriter::logConnection().database;
    if (!result.connected) {
        std::fprintf(stderr, "tracora-logwriter: could not provision %s\n", database.c_str());
        return 1;
    }
    std::printf("The log database %s is ready.\n", database.c_str());
    return 0;
}

int entry(const std::vector<std::string>& args) {
    if (args.size() != 4)
        throw UsageError{"entry takes USER ACTION TABLE TEXT"};
    logwriter::LogEntry e;
    e.usuario = cp1252(args[0], "USER");
    e.acao = cp1252(args[1], "ACTION");
    if (args[2] != "-")
        e.tabela = cp1252(args[2], "TABLE");
    e.log = cp1252(args[3], "TEXT");
    logwriter::LogWriter writer(logwriter::logConnection(), 1);
    writer.write(e);
    writer.commit();
    return 0;
}

int synthetic(const std::vector<std::string>& args) {
    std::optional<std::uint64_t> count;
    std::uint64_t seed = 1;
    std::uint64_t longEvery = 500;
    bool ifEmpty = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (a == "--seed")
            seed = number(value(), "--seed");
        else if (a == "--long-every")
            longEvery = number(value(), "--long-every");
        else if (a == "--if-empty")
            ifEmpty = true;
        else if (!count)
            count = number(a, "N");
        else
            throw UsageError{"unexpected argument: " + a};
    }
    if (!count)
        throw UsageError{"synthetic needs the number of entries N"};

    const auto params = logwriter::logConnection();
    logwriter::LogWriter writer(params);
    if (ifEmpty) {
        if (const auto held = writer.countEntries(); held > 0) {
            std::printf("%s already holds %lld entries: nothing written.\n",
                        params.database.c_str(), static_cast<long long>(held));
            return 0;
        }
    }
    logwriter::SyntheticLog log(seed, longEvery);
    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t i = 0; i < *count; ++i)
        writer.write(log.next());
    writer.commit();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Wrote %llu entries to %s in %.2f s (%.0f entries/s).\n",
                static_cast<unsigned long long>(*count), params.database.c_str(), seconds,
                seconds > 0 ? static_cast<double>(*count) / seconds : 0.0);
    return 0;
}

}  // namespace

int runLogWriter(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        // The writer acts as a module installed beside the given system.ini.
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i] == "--ini") {
                if (i + 1 >= args.size())
                    throw UsageError{"--ini needs a directory"};
                std::string dir = args[i + 1];
                if (!dir.ends_with('/'))
                    dir += '/';
                os::setExecutableDirectoryForTesting(dir);
                args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                           args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
                break;
            }
        }
        if (args.empty() || args[0] == "--help" || args[0] == "-h") {
            std::fputs(kUsage, args.empty() ? stderr : stdout);
            return args.empty() ? 2 : 0;
        }
        const std::string command = args[0];
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (command == "provision" && rest.empty())
            return provision(argc, argv);
        if (command == "entry")
            return entry(rest);
        if (command == "synthetic")
            return synthetic(rest);
        throw UsageError{"unknown command: " + command};
    } catch (const UsageError& e) {
        std::fprintf(stderr, "tracora-logwriter: %s\n\n%s", e.message.c_str(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tracora-logwriter: %s\n", e.what());
        return 1;
    }
}
