#include "Tracora/StartUp.h"

#include "Config_Conexao/Config_Conexao.h"
#include "Dados_Log/Dados_Log.h"
#include "Principal_Log/Principal_Log.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "widgets/Application.h"

#include "TestSupport.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const QString kRefused = QStringLiteral("Este módulo só pode ser executado pelo módulo Principal do sistema!");
const QString kNotSaved = QStringLiteral(
    "A Configuração de Conexão do Sistema de Log não foi efetuada. O Sistema será finalizado!"
    "\r\rTente novamente!");

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        app().resetTermination();
        os::setExecutableDirectoryForTesting(exeDir_.path());
    }
    void TearDown() override {
        os::setExecutableDirectoryForTesting({});
        app().resetTermination();
    }
    static widgets::Application& app() { return *widgets::Application::instance(); }

    bool start(std::vector<std::string> args) {
        args.insert(args.begin(), "tracora");
        app().setCommandLine(args);
        return startUp_.run(app());
    }
    void writeSettings(const std::string& server, const std::string& directory) {
        ini::IniFile ini(exeDir_.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", server);
        ini.writeString("SYSTEM", "Caminho", directory);
    }
    // Answers the configuration dialog as soon as it runs.
    static void whenDialogRuns(std::function<void(TFrmConfig_Conexao&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<TFrmConfig_Conexao*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            dialog->close();
        });
    }

    testsupport::TempDir exeDir_;
    testsupport::MessageCatcher messages_;
    StartUp startUp_;
};

class LaunchToken : public StartUpTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(LaunchToken, RefusedWithOneMessageAndNothingElse) {
    EXPECT_FALSE(start(GetParam()));
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, kRefused);
    EXPECT_EQ(messages_.messages[0].caption, "Atenção");
    EXPECT_EQ(messages_.messages[0].icon, widgets::MessageIcon::Error);
    EXPECT_TRUE(app().terminated());
    EXPECT_EQ(dmLog, nullptr) << "a data module was created";
    EXPECT_EQ(startUp_.mainWindow(), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(exeDir_.path())) << "a file was written";
}

INSTANTIATE_TEST_SUITE_P(Variants, LaunchToken,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{""},
                                           std::vector<std::string>{"quarzit_bemmelsk"},
                                           std::vector<std::string>{"QUARZIT_BEMMELSK"},
                                           std::vector<std::string>{" Quarzit_Bemmelsk"},
                                           std::vector<std::string>{"Quarzit_Bemmelsk "},
                                           std::vector<std::string>{"x", "Quarzit_Bemmelsk"}));

TEST_F(StartUpTest, TokenWithFurtherArgumentsAndSettingsShowsTheVersionedWindow) {
    REQUIRE_TEST_SERVER();
    testsupport::TempDir db;  // the first start provisions the log database here
    writeSettings(*testsupport::testServer(), db.path());
    ASSERT_TRUE(start({"Quarzit_Bemmelsk", "--ignored", "x"}));
    EXPECT_TRUE(messages_.messages.empty()) << messages_.messages[0].text.toStdString();
    ASSERT_NE(dmLog, nullptr);
    EXPECT_TRUE(dmLog->BDLog.connected());
    auto* window = startUp_.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->windowTitle(),
              "[1.0.0.5] Visualizador de Log - Marbeton S/C Zozu Software");
    EXPECT_EQ(TfrmPrincipal_Log::VersaoExe(), "1.0.0.5");
}

TEST_F(StartUpTest, DialogClosedWithoutSaveEndsTheProgram) {
    whenDialogRuns([](TFrmConfig_Conexao& d) { EXPECT_EQ(d.Tag, 0); });
    EXPECT_FALSE(start({"Quarzit_Bemmelsk"}));
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, kNotSaved);
    EXPECT_EQ(messages_.messages[0].caption, "Atenção");
    EXPECT_EQ(messages_.messages[0].icon, widgets::MessageIcon::Error);
    EXPECT_EQ(dmLog, nullptr);
    EXPECT_EQ(startUp_.mainWindow(), nullptr);
}

TEST_F(StartUpTest, DialogThatSavedLetsTheStartUpGoOn) {
    std::string dir = exeDir_.path();
    whenDialogRuns([this](TFrmConfig_Conexao& d) {
        writeSettings("", "/nowhere/");
        d.Tag = 1;
    });
    EXPECT_TRUE(start({"Quarzit_Bemmelsk"}));
    ASSERT_NE(dmLog, nullptr);
    ASSERT_NE(startUp_.mainWindow(), nullptr);
    EXPECT_TRUE(startUp_.mainWindow()->isVisible());
    for (const auto& m : messages_.messages) {
        EXPECT_NE(m.text, kNotSaved);
        EXPECT_NE(m.text, kRefused);
    }
}

}  // namespace
