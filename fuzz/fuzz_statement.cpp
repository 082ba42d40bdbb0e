// The search statement builder: for any eight field texts, either a refusal or
// exactly one SELECT on LOG whose literals, read back by a lexer of our own,
// are the trimmed texts; nothing typed can end a literal.

#include "FuzzSupport.h"

#include "Principal_Log/Pesquisa.h"

#include <QDate>
#include <QStringList>
#include <QTime>

#include <string>
#include <vector>

namespace {

// The statement with every literal replaced by "#", and the literals' contents.
struct Lexed {
    std::string skeleton;
    std::vector<std::string> literals;
};

Lexed lex(const std::string& statement) {
    Lexed out;
    std::size_t i = 0;
    while (i < statement.size()) {
        if (statement[i] != '\'') {
            out.skeleton += statement[i++];
            continue;
        }
        std::string literal;
        ++i;
        for (;;) {
            fuzz::check(i < statement.size(), "a literal is not closed", fuzz::hex(statement));
            if (statement[i] == '\'') {
                if (i + 1 < statement.size() && statement[i + 1] == '\'') {
                    literal += '\'';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            literal += statement[i++];
        }
        out.skeleton += '#';
        out.literals.push_back(std::move(literal));
    }
    return out;
}

bool blank(const QString& text, const char* mask) {
    return fuzz::trimBlanks(text) == QLatin1String(mask);
}

std::string dateText(const QDate& d) {
    return QString::asprintf("%02d/%02d/%04d", d.month(), d.day(), d.year()).toStdString();
}

std::string timeText(const QTime& t, const char* seconds) {
    return QString::asprintf("%02d:%02d:%s", t.hour(), t.minute(), seconds).toStdString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Fields are separated by NUL bytes; missing ones are blank.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<QString> field;
    for (std::size_t at = 0; field.size() < 8 && at <= input.size();) {
        std::size_t end = input.find('\0', at);
        if (end == std::string_view::npos)
            end = input.size();
        field.push_back(fuzz::typedText(input.substr(at, end - at)));
        at = end + 1;
    }
    const char* blanks[8] = {"  /  /    ", "  /  /    ", "  :  ", "  :  ", "", "", "", ""};
    while (field.size() < 8)
        field.push_back(QString::fromLatin1(blanks[field.size()]));

    FiltrosPesquisa f;
    f.data1 = field[0];
    f.data2 = field[1];
    f.hora1 = field[2];
    f.hora2 = field[3];
    f.acao = field[4];
    f.usuario = field[5];
    f.tabela = field[6];
    f.conteudo = field[7];
    const PesquisaMontada result = montaPesquisa(f);

    // What the builder should give, worked out field by field.
    QStringList conditions;
    std::vector<std::string> literals;
    CampoPesquisa refused = CampoPesquisa::Nenhum;
    auto addDate = [&](const QString& text, const char* op, CampoPesquisa which) {
        if (refused != CampoPesquisa::Nenhum || blank(text, "/  /"))
            return;
        const auto d = textoParaData(text);
        if (!d) {
            refused = which;
            return;
        }
        conditions << QStringLiteral("(DATA %1 #)").arg(QLatin1String(op));
        literals.push_back(dateText(*d));
    };
    auto addTime = [&](const QString& text, const char* op, const char* seconds,
                       CampoPesquisa which) {
        if (refused != CampoPesquisa::Nenhum || blank(text, ":"))
            return;
        const auto t = textoParaHora(text);
        if (!t) {
            refused = which;
            return;
        }
        conditions << QStringLiteral("(HORA %1 #)").arg(QLatin1String(op));
        literals.push_back(timeText(*t, seconds));
    };
    auto equal = [&](const QString& text, const char* column) {
        const QString t = fuzz::trimBlanks(text);
        if (t.isEmpty())
            return;
        conditions << QStringLiteral("(%1 = #)").arg(QLatin1String(column));
        literals.push_back(fuzz::cp1252(t));
    };
    addDate(f.data1, ">=", CampoPesquisa::Data1);
    addDate(f.data2, "<=", CampoPesquisa::Data2);
    addTime(f.hora1, ">=", "00", CampoPesquisa::Hora1);
    addTime(f.hora2, "<=", "59", CampoPesquisa::Hora2);
    if (refused != CampoPesquisa::Nenhum) {
        fuzz::check(!result.ok() && result.field == refused && result.statement.empty(),
                    "an invalid date or time was not refused with its field");
        return 0;
    }
    equal(f.acao, "ACAO");
    equal(f.usuario, "USUARIO");
    equal(f.tabela, "TABELA");
    if (const QString t = fuzz::trimBlanks(f.conteudo); !t.isEmpty()) {
        conditions << QStringLiteral("(LOG LIKE #)");
        literals.push_back(fuzz::cp1252(u'%' + t + u'%'));
    }
    if (conditions.isEmpty()) {
        fuzz::check(
            !result.ok() && result.field == CampoPesquisa::Nenhum && result.statement.empty(),
            "a search without filters was not refused");
        return 0;
    }

    fuzz::check(result.ok(), "valid filters were refused", result.message.toStdString());
    const std::string skeleton =
        ("SELECT * FROM LOG WHERE " + conditions.join(QStringLiteral(" AND ")) + " ORDER BY ID")
            .toStdString();
    const Lexed lexed = lex(result.statement);
    fuzz::check(lexed.skeleton == skeleton,
                "the statement outside its literals is not the skeleton",
                fuzz::hex(result.statement));
    fuzz::check(lexed.literals.size() == literals.size(), "wrong number of literals",
                fuzz::hex(result.statement));
    for (std::size_t i = 0; i < literals.size(); ++i) {
        fuzz::check(lexed.literals[i] == literals[i], "a literal is not the trimmed text",
                    "got " + fuzz::hex(lexed.literals[i]) + " expected " + fuzz::hex(literals[i]));
    }
    return 0;
}
