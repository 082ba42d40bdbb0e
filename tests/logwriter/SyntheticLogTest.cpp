#include "SyntheticLog.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SyntheticLog, TheSameSeedGivesTheSameEntries) {
    logwriter::SyntheticLog a(7, 50), b(7, 50), c(8, 50);
    bool differs = false;
    for (int i = 0; i < 300; ++i) {
        const auto x = a.next();
        ASSERT_EQ(x, b.next()) << i;
        differs = differs || !(x == c.next());
    }
    EXPECT_TRUE(differs);
}

TEST(SyntheticLog, EntriesFitTheLogAndLookLikeADaysWork) {
    const std::set<std::string> vocabulary = {"INCLUIU", "ALTEROU", "EXCLUIU", "EXECUTOU", "ENTROU",
                                              "SAIU",    "SQL",     "ERRO",    "MSG"};
    constexpr std::size_t kLongEvery = 100;
    logwriter::SyntheticLog log(1, kLongEvery);
    std::set<std::string> loggedIn, users, tables, actions;
    std::size_t withoutTable = 0, eightBit = 0, multiLine = 0;
    for (std::size_t n = 1; n <= 5000; ++n) {
        const auto e = log.next();
        // The columns' widths: a longer text would be refused by the server.
        ASSERT_LE(e.usuario.size(), 30u);
        ASSERT_FALSE(e.usuario.empty());
        ASSERT_LE(e.acao.size(), 8u);
        ASSERT_TRUE(vocabulary.count(e.acao)) << e.acao;
        if (e.tabela) {
            ASSERT_LE(e.tabela->size(), 31u);
            tables.insert(*e.tabela);
        } else {
            ++withoutTable;
        }
        if (e.acao == "ENTROU")
            loggedIn.insert(e.usuario);
        else
            EXPECT_TRUE(loggedIn.count(e.usuario)) << e.usuario << " acts before logging in";
        users.insert(e.usuario);
        actions.insert(e.acao);
        if (n % kLongEvery == 0 && e.acao != "ENTROU" && e.acao != "SAIU")
            EXPECT_GE(e.log.size(), 16000u) << n;
        else
            EXPECT_LT(e.log.size(), 1000u) << n;
        for (unsigned char ch : e.usuario + e.log)
            if (ch >= 0x80) {
                ++eightBit;
                break;
            }
        multiLine += e.log.find("\r\n") != std::string::npos;
    }
    EXPECT_EQ(actions, vocabulary);
    EXPECT_GE(users.size(), 24u);
    EXPECT_GE(tables.size(), 24u);
    EXPECT_GT(withoutTable, 500u);
    EXPECT_GT(eightBit, 2500u);
    EXPECT_GT(multiLine, 4500u);
}

}  // namespace
