// A million entries through the viewer in one process: searched, scrolled,
// exported and paginated, with the memory this takes measured against the
// bytes of the rows.
#include "Dados_Log/Dados_Log.h"
#include "Principal_Log/LogReport.h"
#include "Principal_Log/Principal_Log.h"
#include "Principal_Log/ResultSetPipeline.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "report/ReportPages.h"
#include "ui_Principal_Log.h"
#include "widgets/Application.h"

#include "TestSupport.h"

#include <QApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

constexpr int kEntries = 1000000;

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::strlen(key));
    }
    return 0;
}

TEST(LargeLog, AMillionEntriesAreSearchedScrolledExportedAndPaginatedWithinTheMemoryTarget) {
    REQUIRE_TEST_SERVER();
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory would be measured, and slowly";
#endif
    testsupport::TempDir exeDir;
    testsupport::TempDir dbDir;
    testsupport::MessageCatcher messages;
    os::setExecutableDirectoryForTesting(exeDir.path());
    {
        ini::IniFile ini(exeDir.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", *testsupport::testServer());
        ini.writeString("SYSTEM", "Caminho", dbDir.path());
    }
    auto* app = widgets::Application::instance();
    app->resetTermination();
    app->setCommandLine({"tracora", "Quarzit_Bemmelsk"});
    auto window = std::make_unique<TfrmPrincipal_Log>();
    std::unique_ptr<TdmLog> module(TdmLog::Create());
    ASSERT_TRUE(module->BDLog.connected());
    // Typical texts of about 200 bytes, one in a thousand of 20 KB.
    module->BDLog.execute(
        "EXECUTE BLOCK AS DECLARE i INT = 0; BEGIN WHILE (i < " + std::to_string(kEntries) +
        ") DO BEGIN INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) VALUES ('USUARIO' || MOD(:i, "
        "37), 'ALTEROU', 'TABELA' || MOD(:i, 11), 'entrada ' || :i || ' ' || "
        "IIF(MOD(:i, 1000) = 0, LPAD('', 20000, 'y'), LPAD('', 180 + MOD(:i, 40), 'x'))); "
        "i = i + 1; END END");
    window->show();
    QApplication::processEvents();
    auto& ui = *window->ui;

    const long before = statusKb("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts afresh here

    ui.cbAcao->setEditText("ALTEROU");
    ui.BitBtn1->click();
    ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text.toStdString();
    ASSERT_EQ(ui.pnRecordCount->text(), "-> 1000000 registro(s) encontrado(s)");

    // Scrolled from end to end; the detail follows the current row.
    auto* model = ui.DBGrid1->model();
    ASSERT_EQ(model->rowCount(), kEntries);
    for (int row : {kEntries - 1, kEntries / 2, 1000, 0}) {
        ui.DBGrid1->setCurrentIndex(model->index(row, 0));
        ui.DBGrid1->scrollTo(model->index(row, 0));
        QApplication::processEvents();
        EXPECT_TRUE(ui.DBMemo1->toPlainText().startsWith(QStringLiteral("entrada %1 ").arg(row)));
        EXPECT_EQ(model->index(row, 4).data().toString(),
                  QStringLiteral("USUARIO%1").arg(row % 37));
    }
    ui.DBGrid1->verticalScrollBar()->setValue(ui.DBGrid1->verticalScrollBar()->maximum());
    QApplication::processEvents();

    ui.BitBtn4->click();
    ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text.toStdString();
    EXPECT_GT(std::filesystem::file_size(exeDir.file("Log.xml")), module->cdsPesq.rowBytes());

    const ResultSetPipeline pipeline(module->cdsPesq);
    const report::ReportPages pages(logReportDefinition({}), pipeline);
    EXPECT_GT(pages.pageCount(), kEntries / 20);
    EXPECT_FALSE(pages.page(pages.pageCount() - 1).texts.empty());

    const double growth = static_cast<double>(statusKb("VmHWM:") - before) * 1024;
    const double rowBytes = static_cast<double>(module->cdsPesq.rowBytes());
    std::printf("rows %.0f MB, held %.0f MB, peak growth %.0f MB (%.2fx)\n", rowBytes / 1e6,
                static_cast<double>(module->cdsPesq.bytesHeld()) / 1e6, growth / 1e6,
                growth / rowBytes);
    EXPECT_LE(growth, 1.5 * rowBytes);

    window.reset();
    module.reset();
    os::setExecutableDirectoryForTesting({});
}

}  // namespace
