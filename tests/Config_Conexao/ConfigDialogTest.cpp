#include "Config_Conexao/Config_Conexao.h"
#include "Dados_Log/Dados_Log.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "ui_Config_Conexao.h"

#include "TestSupport.h"

#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace {

TEST(ConfigDirectory, GetsItsSeparatorWhenItHasNone) {
    struct Case {
        QString typed;
        QString tested;
    };
    for (const Case& c :
         {Case{"C:\\Dados", "C:\\Dados\\"}, Case{"/opt/firebird/dados", "/opt/firebird/dados/"},
          Case{"C:\\Dados\\", "C:\\Dados\\"}, Case{"C:\\Dados\\   ", "C:\\Dados\\   "},
          Case{"  C:\\Dados\\", "  C:\\Dados\\"}, Case{"dados", "dados\\"}, Case{"", "\\"},
          Case{"/d/x  ", "/d/x  /"}, Case{"a\\b/c", "a\\b/c\\"}}) {
        EXPECT_EQ(normalizeDirectory(c.typed), c.tested) << c.typed.toStdString();
    }
}

TEST(ConfigTiming, ShowsTheSecondsOfTheMinute) {
    EXPECT_EQ(connectionTimeText(400), "Conexão estabelecida em 00 segundos.");
    EXPECT_EQ(connectionTimeText(61200), "Conexão estabelecida em 01 segundos.");
    EXPECT_EQ(connectionTimeText(59999), "Conexão estabelecida em 59 segundos.");
}

class ConfigDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        os::setExecutableDirectoryForTesting(exeDir_.path());
        dialog_ = std::make_unique<TFrmConfig_Conexao>();
    }
    void TearDown() override {
        dialog_.reset();
        os::setExecutableDirectoryForTesting({});
    }
    void type(const QString& server, const QString& directory) {
        dialog_->ui->edServidor->setText(server);
        dialog_->ui->edCaminho->setText(directory);
    }
    void pressTest() { dialog_->ui->BitBtn1->click(); }
    bool saveEnabled() const { return dialog_->ui->BitBtn2->isEnabled(); }

    testsupport::TempDir exeDir_;
    testsupport::MessageCatcher messages_;
    std::unique_ptr<TFrmConfig_Conexao> dialog_;
};

TEST_F(ConfigDialog, OpensFreshWithItsLayout) {
    EXPECT_EQ(dialog_->windowTitle(), "Configuração de Conexão");
    EXPECT_EQ(dialog_->size(), QSize(514, 215));
    EXPECT_EQ(dialog_->minimumSize(), dialog_->maximumSize());
    EXPECT_EQ(dialog_->ui->BitBtn1->text(), "&Testar Conexão");
    EXPECT_EQ(dialog_->ui->BitBtn2->text(), "&Salvar Configuração");
    EXPECT_EQ(dialog_->ui->BitBtn3->text(), "&Fechar");
    EXPECT_EQ(dialog_->ui->BitBtn2->geometry(), QRect(152, 8, 137, 25));
    EXPECT_EQ(dialog_->ui->edCaminho->geometry(), QRect(8, 20, 465, 21));
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(dialog_->Tag, 0);
    EXPECT_EQ(dialog_->statusText(), "");
}

TEST_F(ConfigDialog, AccountStepFailureEndsTheTestThere) {
    type("127.0.0.1/1", "/dados");
    pressTest();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Tracora");
    EXPECT_THAT(messages_.messages[0].text.toStdString(),
                ::testing::HasSubstr("Unable to complete network request"));
    EXPECT_EQ(dialog_->statusText(), "Aguarde... Verificando Usuário...");
    EXPECT_EQ(dialog_->ui->edCaminho->text(), "/dados") << "normalised before the account step";
    EXPECT_EQ(dialog_->SQLConnection1.params().size(), 0u);
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(dialog_->IBSecurityService1.protocol, firebird::ServiceManager::Protocol::Tcp);

    type("   ", "/dados");
    pressTest();
    EXPECT_EQ(dialog_->IBSecurityService1.protocol, firebird::ServiceManager::Protocol::Local);
}

TEST_F(ConfigDialog, SuccessfulTestEnablesSaveForGood) {
    REQUIRE_TEST_SERVER();
    const std::string server = *testsupport::testServer();
    testsupport::TempDir dbDir;
    {
        // A provisioned log database, as the first start leaves it.
        testsupport::TempDir otherExe;
        os::setExecutableDirectoryForTesting(otherExe.path());
        ini::IniFile ini(otherExe.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", server);
        ini.writeString("SYSTEM", "Caminho", dbDir.path());
        std::unique_ptr<TdmLog> module(TdmLog::Create());
        ASSERT_TRUE(module->BDLog.connected());
        os::setExecutableDirectoryForTesting(exeDir_.path());
    }
    std::string typed = dbDir.path();
    typed.pop_back();  // typed without its closing "/"
    type(QString::fromStdString(server), QString::fromStdString(typed));
    pressTest();
    for (const auto& m : messages_.messages)
        ADD_FAILURE() << m.text.toStdString();
    EXPECT_EQ(dialog_->statusText(), "Conexão estabelecida em 00 segundos.");
    EXPECT_EQ(dialog_->ui->edCaminho->text().toStdString(), dbDir.path());
    EXPECT_TRUE(saveEnabled());
    EXPECT_FALSE(dialog_->SQLConnection1.connected());
    const auto& params = dialog_->SQLConnection1.params();
    EXPECT_EQ(params.size(), 12u);
    EXPECT_EQ(params.value("Database"), server + ":" + dbDir.path() + "SYSTEM.DAT");
    EXPECT_EQ(dialog_->Tag, 0);

    // A second test with another path uses it, fails, and leaves save enabled.
    type(QString::fromStdString(server), "/nao/existe/");
    pressTest();
    EXPECT_EQ(dialog_->statusText(), "Conexão Falhou...");
    EXPECT_EQ(params.size(), 24u);
    EXPECT_EQ(params.value("Database"), server + ":/nao/existe/SYSTEM.DAT");
    EXPECT_TRUE(saveEnabled());

    // Saving stores the fields as they are now, without a new test.
    type("db01", "C:\\Dados\\");
    dialog_->ui->BitBtn2->click();
    EXPECT_EQ(dialog_->Tag, 1);
    EXPECT_EQ(dialog_->statusText(), "Configuração salva com sucesso...");
    EXPECT_EQ(testsupport::readFile(exeDir_.file("system.ini")),
              "[SYSTEM]\nServidor=db01\nCaminho=C:\\Dados\\\n");
}

TEST_F(ConfigDialog, FailedSaveLeavesTagAndStatus) {
    dialog_->ui->BitBtn2->setEnabled(true);
    testsupport::writeFile(exeDir_.file("x"), "");
    ASSERT_EQ(::mkdir(exeDir_.file("system.ini").c_str(), 0755), 0);
    dialog_->ui->BitBtn2->click();
    EXPECT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(dialog_->Tag, 0);
    EXPECT_EQ(dialog_->statusText(), "");
}

}  // namespace
