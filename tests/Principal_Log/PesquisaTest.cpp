#include "Principal_Log/Pesquisa.h"

#include <gtest/gtest.h>

namespace {

const QString kBlankDate = QStringLiteral("  /  /    ");
const QString kBlankTime = QStringLiteral("  :  ");

FiltrosPesquisa blank() {
    return {kBlankDate, kBlankDate, kBlankTime, kBlankTime, {}, {}, {}, {}};
}

struct Case {
    const char* name;
    FiltrosPesquisa filtros;
    std::string where;  // empty when refused
    QString message;
    CampoPesquisa field;
};

std::vector<Case> cases() {
    std::vector<Case> c;
    auto with = [](auto change) {
        FiltrosPesquisa f = blank();
        change(f);
        return f;
    };
    const QString none;
    c.push_back({"everything blank", blank(), "", "Informe algum parâmetro para a pesquisa!",
                 CampoPesquisa::Nenhum});
    c.push_back({"only spaces", with([](auto& f) {
                     f.acao = "   ";
                     f.usuario = " ";
                     f.tabela = "\t";
                     f.conteudo = "  ";
                 }),
                 "", "Informe algum parâmetro para a pesquisa!", CampoPesquisa::Nenhum});
    c.push_back({"text with percent", with([](auto& f) { f.conteudo = " 50% "; }),
                 "(LOG LIKE '%50%%')", none, CampoPesquisa::Nenhum});
    c.push_back({"quote in user", with([](auto& f) { f.usuario = "AB'C"; }), "(USUARIO = 'AB''C')",
                 none, CampoPesquisa::Nenhum});
    c.push_back({"same date twice", with([](auto& f) { f.data1 = f.data2 = "25/03/2014"; }),
                 "(DATA >= '03/25/2014') AND (DATA <= '03/25/2014')", none, CampoPesquisa::Nenhum});
    c.push_back({"only an end time", with([](auto& f) { f.hora2 = "12:00"; }),
                 "(HORA <= '12:00:59')", none, CampoPesquisa::Nenhum});
    c.push_back({"times across midnight", with([](auto& f) {
                     f.hora1 = "22:00";
                     f.hora2 = "02:00";
                 }),
                 "(HORA >= '22:00:00') AND (HORA <= '02:00:59')", none, CampoPesquisa::Nenhum});
    c.push_back({"every field in its order", with([](auto& f) {
                     f.data1 = "01/03/2014";
                     f.data2 = "31/03/2014";
                     f.hora1 = "08:00";
                     f.hora2 = "18:30";
                     f.acao = " EXCLUIU ";
                     f.usuario = "ANA";
                     f.tabela = "CLIENTES";
                     f.conteudo = "CLIENTE";
                 }),
                 "(DATA >= '03/01/2014') AND (DATA <= '03/31/2014') AND (HORA >= '08:00:00') AND "
                 "(HORA <= '18:30:59') AND (ACAO = 'EXCLUIU') AND (USUARIO = 'ANA') AND "
                 "(TABELA = 'CLIENTES') AND (LOG LIKE '%CLIENTE%')",
                 none, CampoPesquisa::Nenhum});
    c.push_back({"impossible start date first", with([](auto& f) {
                     f.data1 = "31/02/2014";
                     f.data2 = "99/99/9999";
                     f.hora1 = "25:00";
                 }),
                 "", "Data inicial inválida!", CampoPesquisa::Data1});
    c.push_back({"end date without year", with([](auto& f) { f.data2 = "01/03/    "; }), "",
                 "Data final inválida!", CampoPesquisa::Data2});
    c.push_back({"hour above 23", with([](auto& f) { f.hora1 = "25:00"; }), "",
                 "Hora inicial inválida!", CampoPesquisa::Hora1});
    c.push_back({"minute left blank", with([](auto& f) { f.hora2 = "10:  "; }), "",
                 "Hora final inválida!", CampoPesquisa::Hora2});
    c.push_back({"partly typed date", with([](auto& f) { f.data1 = "1 /  /    "; }), "",
                 "Data inicial inválida!", CampoPesquisa::Data1});
    return c;
}

class MontaPesquisa : public ::testing::TestWithParam<Case> {};

TEST_P(MontaPesquisa, BuildsOneStatementOrRefuses) {
    const Case& c = GetParam();
    const PesquisaMontada p = montaPesquisa(c.filtros);
    EXPECT_EQ(p.message, c.message);
    EXPECT_EQ(p.field, c.field);
    if (c.where.empty()) {
        EXPECT_TRUE(p.statement.empty());
    } else {
        EXPECT_EQ(p.statement, "SELECT * FROM LOG WHERE " + c.where + " ORDER BY ID");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MontaPesquisa, ::testing::ValuesIn(cases()), [](const auto& info) {
    std::string n = info.param.name;
    for (char& ch : n)
        ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return n;
});

TEST(MontaPesquisa, WritesTheLogsEightBitText) {
    FiltrosPesquisa f = blank();
    f.conteudo = QStringLiteral("ação");
    EXPECT_EQ(montaPesquisa(f).statement,
              "SELECT * FROM LOG WHERE (LOG LIKE '%a\xE7\xE3o%') ORDER BY ID");
}

// Found by fuzzing: the converter wrote 0x1A for characters the code page lacks.
TEST(MontaPesquisa, WritesAQuestionMarkForEachCharacterTheCodePageLacks) {
    FiltrosPesquisa f = blank();
    f.acao = QString::fromUtf8("\xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x98\x80 \xC3\xA7");
    f.usuario = QString(QChar(0xD800)) + u'\'';
    EXPECT_EQ(montaPesquisa(f).statement,
              "SELECT * FROM LOG WHERE (ACAO = '\x80 ? ? \xE7') AND (USUARIO = '?''') "
              "ORDER BY ID");
}

TEST(TextoParaData, ReadsDayMonthYear) {
    EXPECT_EQ(textoParaData(" 4/ 3/2014"), QDate(2014, 3, 4));
    EXPECT_EQ(textoParaData("29/02/2016"), QDate(2016, 2, 29));
    EXPECT_EQ(textoParaData("29/02/2015"), std::nullopt);
    EXPECT_EQ(textoParaData("01/13/2014"), std::nullopt);
    EXPECT_EQ(textoParaData("01/03/14  ")->year() % 100, 14);
}

}  // namespace
