#include "Dados_Log/Dados_Log.h"
#include "Principal_Log/Principal_Log.h"
#include "Tracora/StartUp.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "ui_Principal_Log.h"
#include "widgets/Application.h"

#include "PrivateServer.h"
#include "TestSupport.h"

#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using ::testing::AnyOf;
using ::testing::HasSubstr;

// The viewer against a server of the test's own, which the test stops and
// starts again while the viewer runs.
class ServerFaults : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = new testsupport::PrivateServer; }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        REQUIRE_TEST_SERVER();  // the server binary comes with the test set-up
        server_->start();
        os::setExecutableDirectoryForTesting(exeDir_.path());
        ini::IniFile ini(exeDir_.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", server_->host());
        ini.writeString("SYSTEM", "Caminho", dbDir_.path());
        app().resetTermination();
        app().setCommandLine({"tracora", "Quarzit_Bemmelsk"});
    }
    void TearDown() override {
        viewer_.reset();
        os::setExecutableDirectoryForTesting({});
        if (server_ != nullptr)
            server_->start();  // for the next test
    }
    static widgets::Application& app() { return *widgets::Application::instance(); }

    // Starts the viewer as the operator does; true when its window is shown.
    bool startViewer() {
        viewer_ = std::make_unique<StartUp>();
        const bool started = viewer_->run(app());
        QApplication::processEvents();
        return started && viewer_->mainWindow() != nullptr && viewer_->mainWindow()->isVisible();
    }
    Ui::TfrmPrincipal_Log& ui() { return *viewer_->mainWindow()->ui; }
    void searchUser(const QString& user) {
        ui().cbUsers->setEditText(user);
        ui().BitBtn1->click();
    }
    QString count() { return ui().pnRecordCount->text(); }
    std::string databaseFile() const { return dbDir_.file("SYSTEM.DAT"); }

    // Each message came from the error box with the server's own words.
    void expectServerGoneMessages(std::size_t atLeast) {
        EXPECT_GE(messages_.messages.size(), atLeast);
        for (const auto& m : messages_.messages) {
            EXPECT_EQ(m.caption, "Tracora");
            EXPECT_EQ(m.icon, widgets::MessageIcon::Error);
            EXPECT_THAT(m.text.toStdString(),
                        AnyOf(HasSubstr("Unable to complete network request"),
                              HasSubstr("connection"), HasSubstr("shutdown")));
        }
        EXPECT_FALSE(app().terminated());
        EXPECT_TRUE(viewer_->mainWindow()->isVisible());
    }

    static testsupport::PrivateServer* server_;
    testsupport::TempDir exeDir_;
    testsupport::TempDir dbDir_;
    testsupport::MessageCatcher messages_;
    std::unique_ptr<StartUp> viewer_;
};

testsupport::PrivateServer* ServerFaults::server_ = nullptr;

TEST_F(ServerFaults, StoppedBeforeStartUpTheViewerOpensAndSearchesOnceItIsBack) {
    ASSERT_TRUE(startViewer());  // the first start provisions the log
    ASSERT_TRUE(messages_.messages.empty()) << messages_.messages[0].text.toStdString();
    dmLog->BDLog.execute("INSERT INTO LOG (USUARIO, ACAO, LOG) VALUES ('ANA', 'MSG', 'x')");
    viewer_.reset();
    const auto size = std::filesystem::file_size(databaseFile());

    server_->stop();
    int alerts = 0;
    os::setAlertSoundHandler([&] { ++alerts; });
    ASSERT_TRUE(startViewer());
    os::setAlertSoundHandler({});
    expectServerGoneMessages(1);
    EXPECT_EQ(alerts, 0) << "nothing was created, so no creation failed";
    EXPECT_EQ(std::filesystem::file_size(databaseFile()), size);

    server_->start();
    messages_.messages.clear();
    searchUser("ANA");
    EXPECT_TRUE(messages_.messages.empty()) << messages_.messages[0].text.toStdString();
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    EXPECT_EQ(ui().cbAcao->count(), 0) << "the lists are filled when the window is shown";
}

TEST_F(ServerFaults, StoppedDuringASessionTheNextSearchAfterItsReturnWorks) {
    ASSERT_TRUE(startViewer());
    dmLog->BDLog.execute("INSERT INTO LOG (USUARIO, ACAO, LOG) VALUES ('ANA', 'MSG', 'x')");
    searchUser("ANA");
    ASSERT_EQ(count(), "-> 1 registro(s) encontrado(s)");

    for (const bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "killed" : "stopped");
        crash ? server_->kill() : server_->stop();
        messages_.messages.clear();
        searchUser("ANA");
        expectServerGoneMessages(1);
        EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 0);
        messages_.messages.clear();
        searchUser("ANA");  // still down: the same answer, no crash
        expectServerGoneMessages(1);

        server_->start();
        messages_.messages.clear();
        searchUser("ANA");
        EXPECT_TRUE(messages_.messages.empty()) << messages_.messages[0].text.toStdString();
        EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
        EXPECT_EQ(ui().DBMemo1->toPlainText(), "x");
    }
}

TEST_F(ServerFaults, KilledWhileASearchFetchesItsRows) {
    ASSERT_TRUE(startViewer());
    dmLog->BDLog.execute(
        "EXECUTE BLOCK AS DECLARE i INT = 0; BEGIN WHILE (i < 30000) DO BEGIN "
        "INSERT INTO LOG (USUARIO, ACAO, LOG) VALUES ('ANA', 'MSG', 'linha ' || :i || ' "
        "' || LPAD('', 200, 'x')); i = i + 1; END END");
    searchUser("ANA");
    ASSERT_EQ(count(), "-> 30000 registro(s) encontrado(s)");

    // Runs at the first repaint of the running search.
    bool killed = false;
    QTimer::singleShot(0, [&] {
        killed = true;
        server_->kill();
    });
    messages_.messages.clear();
    searchUser("ANA");
    ASSERT_TRUE(killed);
    expectServerGoneMessages(1);
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(count(), "-> 30000 registro(s) encontrado(s)");

    server_->start();
    messages_.messages.clear();
    searchUser("ANA");
    EXPECT_TRUE(messages_.messages.empty()) << messages_.messages[0].text.toStdString();
    EXPECT_EQ(count(), "-> 30000 registro(s) encontrado(s)");
}

}  // namespace
