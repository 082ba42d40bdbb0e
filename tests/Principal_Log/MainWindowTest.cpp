#include "Dados_Log/Dados_Log.h"
#include "Principal_Log/LogReport.h"
#include "Principal_Log/Principal_Log.h"
#include "Principal_Log/ResultSetPipeline.h"
#include "firebird/ParamStatement.h"
#include "firebird/SqlDataSet.h"
#include "firebird/Transaction.h"
#include "ini/IniFile.h"
#include "os/Os.h"
#include "report/ReportPages.h"
#include "ui_Principal_Log.h"
#include "widgets/Application.h"
#include "widgets/ResultSetModel.h"

#include "DiskFault.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A shown main window over a provisioned log database.
class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        os::setExecutableDirectoryForTesting(exeDir_.path());
        ini::IniFile ini(exeDir_.file("system.ini"));
        ini.writeString("SYSTEM", "Servidor", *testsupport::testServer());
        ini.writeString("SYSTEM", "Caminho", dbDir_.path());
        auto* app = widgets::Application::instance();
        app->resetTermination();
        app->setCommandLine({"tracora", "Quarzit_Bemmelsk"});
        window_ = std::make_unique<TfrmPrincipal_Log>();
        module_.reset(TdmLog::Create());
        ASSERT_TRUE(module_->BDLog.connected());
    }
    void TearDown() override {
        window_.reset();
        module_.reset();
        os::setExecutableDirectoryForTesting({});
    }
    void show() {
        window_->show();
        QApplication::processEvents();
    }
    void insert(const std::string& user, const std::string& action, const std::string& table,
                const std::string& text) {
        module_->BDLog.execute("INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) VALUES ('" + user +
                               "', '" + action + "', " +
                               (table.empty() ? "NULL" : "'" + table + "'") + ", '" + text + "')");
    }
    Ui::TfrmPrincipal_Log& ui() { return *window_->ui; }
    void search() { ui().BitBtn1->click(); }
    QString count() { return ui().pnRecordCount->text(); }
    QString cell(int row, int column) {
        return ui().DBGrid1->model()->index(row, column).data().toString();
    }

    testsupport::TempDir exeDir_;
    testsupport::TempDir dbDir_;
    testsupport::MessageCatcher messages_;
    std::unique_ptr<TdmLog> module_;
    std::unique_ptr<TfrmPrincipal_Log> window_;
};

TEST_F(MainWindow, ShowsItsBlankFiltersAndSeedsTheVocabularyOnce) {
    insert("ANA", "ENTROU", "CLIENTES", "x");
    insert("BIA", "ENTROU", "PEDIDOS", "y");
    show();
    for (const auto& m : messages_.messages)
        ADD_FAILURE() << m.text.toStdString();
    EXPECT_EQ(window_->windowTitle(), "[1.0.0.5] Visualizador de Log - Marbeton S/C Zozu Software");
    EXPECT_EQ(ui().edData1->text(), "  /  /    ");
    EXPECT_EQ(ui().edHora2->text(), "  :  ");
    EXPECT_EQ(count(), " -> 0 registros encontrados");
    EXPECT_EQ(ui().Panel8->text(), " ->");
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), ui().edData1);

    auto items = [](QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l.join(u',');
    };
    EXPECT_EQ(items(ui().cbUsers), "ANA,BIA");
    EXPECT_EQ(items(ui().cbTabelas), "CLIENTES,PEDIDOS");
    EXPECT_EQ(items(ui().cbAcao).split(u',').size(), 9);

    // A second start inserts nothing more.
    window_.reset();
    module_.reset();
    window_ = std::make_unique<TfrmPrincipal_Log>();
    module_.reset(TdmLog::Create());
    show();
    EXPECT_EQ(ui().cbAcao->count(), 9);
    auto& q = module_->sqlAux;
    q.setCommandText("SELECT COUNT(*) FROM ACAO");
    q.open();
    EXPECT_EQ(q.fieldAsText(0), "9");
    q.close();
}

TEST_F(MainWindow, AnyRowsInAcaoAreListedAsTheyAre) {
    module_->BDLog.execute("INSERT INTO ACAO (ACAO) VALUES ('OUTRA')");
    show();
    ASSERT_EQ(ui().cbAcao->count(), 1);
    EXPECT_EQ(ui().cbAcao->itemText(0), "OUTRA");
}

TEST_F(MainWindow, SearchShowsTheMatchingEntriesInOrderWithTheirDetail) {
    insert("ANA", "INCLUIU", "CLIENTES",
           "cliente inclu\xED"
           "do com a\xE7\xE3o");
    insert("BIA", "EXCLUIU", "", "sem tabela");
    insert("ANA", "EXCLUIU", "PEDIDOS", "pedido 50% pago");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    for (const auto& m : messages_.messages)
        ADD_FAILURE() << m.text.toStdString();
    EXPECT_EQ(count(), "-> 2 registro(s) encontrado(s)");
    EXPECT_EQ(QApplication::focusWidget(), ui().DBGrid1);
    ASSERT_EQ(ui().DBGrid1->model()->rowCount(), 2);
    EXPECT_EQ(ui().DBGrid1->model()->headerData(0, Qt::Horizontal).toString(), "DATA");
    EXPECT_EQ(cell(0, 2), "INCLUIU");
    EXPECT_EQ(cell(1, 3), "PEDIDOS");
    EXPECT_EQ(cell(0, 0), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_EQ(cell(0, 1).size(), 8);  // HH:mm:ss
    EXPECT_EQ(ui().DBMemo1->toPlainText(), QStringLiteral("cliente incluído com ação"));
    EXPECT_EQ(ui().DBEdit3->text(), "ANA");

    // Moving in the grid moves the detail.
    ui().DBGrid1->setCurrentIndex(ui().DBGrid1->model()->index(1, 0));
    EXPECT_EQ(ui().DBMemo1->toPlainText(), "pedido 50% pago");
    EXPECT_EQ(ui().DBEdit5->text(), "PEDIDOS");

    // Filters combined; a second search shows only its own rows.
    ui().cbUsers->setEditText("");
    ui().cbAcao->setEditText("EXCLUIU");
    ui().edConteudo->setText("50%");
    search();
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    EXPECT_EQ(cell(0, 4), "ANA");

    ui().edConteudo->setText("");
    ui().cbAcao->setEditText("EXCLUIU");
    search();
    EXPECT_EQ(cell(0, 3), "");  // no table
    EXPECT_EQ(cell(1, 3), "PEDIDOS");

    QAbstractItemModelTester tester(ui().DBGrid1->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
}

TEST_F(MainWindow, DateAndTimeFiltersReachTheServer) {
    insert("ANA", "MSG", "", "hoje");
    show();
    const QString today = QDate::currentDate().toString("dd/MM/yyyy");
    QTest::keyClicks(ui().edData1, QString(today).remove(u'/'));
    EXPECT_EQ(ui().edData1->text(), today);
    ui().edData2->setText(today);
    search();
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    ui().edData1->setText(QDate::currentDate().addDays(1).toString("dd/MM/yyyy"));
    search();
    EXPECT_EQ(count(), "-> 0 registro(s) encontrado(s)");
    ui().BitBtn2->click();
    ui().edHora1->setText("00:00");
    ui().edHora2->setText("23:59");
    search();
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
}

TEST_F(MainWindow, InvalidInputIsRefusedWithItsMessageAndFocus) {
    insert("ANA", "MSG", "", "x");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    ASSERT_EQ(count(), "-> 1 registro(s) encontrado(s)");

    struct Case {
        QLineEdit* field;
        QString text;
        QString message;
    };
    for (const Case& c : {Case{ui().edData1, "31/02/2014", "Data inicial inválida!"},
                          Case{ui().edData2, "01/01/    ", "Data final inválida!"},
                          Case{ui().edHora1, "25:00", "Hora inicial inválida!"},
                          Case{ui().edHora2, "10:  ", "Hora final inválida!"}}) {
        ui().BitBtn2->click();
        c.field->setText(c.text);
        messages_.messages.clear();
        search();
        ASSERT_EQ(messages_.messages.size(), 1u);
        EXPECT_EQ(messages_.messages[0].text, c.message);
        EXPECT_EQ(messages_.messages[0].caption, "Atenção");
        EXPECT_EQ(messages_.messages[0].icon, widgets::MessageIcon::Information);
        EXPECT_EQ(QApplication::focusWidget(), c.field);
        EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 1) << "the previous result stays";
    }
    ui().BitBtn2->click();
    messages_.messages.clear();
    search();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, "Informe algum parâmetro para a pesquisa!");
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
}

TEST_F(MainWindow, NewSearchClearsTheFiltersAndKeepsTheResult) {
    insert("ANA", "MSG", "", "x");
    show();
    ui().cbUsers->setEditText("ANA");
    ui().edHora1->setText("01:00");
    ui().edConteudo->setText("x");
    search();
    ui().BitBtn2->click();
    EXPECT_EQ(ui().edHora1->text(), "  :  ");
    EXPECT_EQ(ui().cbUsers->currentText(), "");
    EXPECT_EQ(ui().cbUsers->count(), 0);
    EXPECT_EQ(ui().edConteudo->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), ui().edData1);
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 1);
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
}

TEST_F(MainWindow, AFailedQueryEmptiesTheGridAndKeepsTheCount) {
    insert("ANA", "MSG", "", "x");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    module_->BDLog.execute("DROP TABLE LOG");
    search();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Tracora");
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(ui().DBMemo1->toPlainText(), "");
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
}

TEST_F(MainWindow, EnterDownAndUpMoveAlongTheTabOrder) {
    show();
    struct Case {
        QWidget* from;
        int key;
        QWidget* to;
    };
    for (const Case& c : {Case{ui().edConteudo, Qt::Key_Return, ui().BitBtn1},
                          Case{ui().edData1, Qt::Key_Up, ui().DBMemo1},
                          Case{ui().cbTabelas, Qt::Key_Down, ui().edConteudo},
                          Case{ui().edData2, Qt::Key_Enter, ui().edHora1},
                          Case{ui().edHora1, Qt::Key_Up, ui().edData2},
                          Case{ui().cbUsers, Qt::Key_Return, ui().cbAcao}}) {
        c.from->setFocus();
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target, static_cast<Qt::Key>(c.key), Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), c.to)
            << c.from->objectName().toStdString() << " -> "
            << QApplication::focusWidget()->objectName().toStdString();
    }
    // Other keys are left alone.
    ui().edConteudo->setFocus();
    QTest::keyClick(ui().edConteudo, Qt::Key_A);
    EXPECT_EQ(QApplication::focusWidget(), ui().edConteudo);
    EXPECT_EQ(ui().edConteudo->text(), "a");
}

// The rows of every table of the log, to see that a search changed none.
std::string tableContents(firebird::SqlConnection& db) {
    std::string all;
    for (const char* sql :
         {"SELECT LIST(RDB$RELATION_NAME) FROM RDB$RELATIONS", "SELECT COUNT(*) FROM ACAO",
          "SELECT COUNT(*) FROM USERS", "SELECT COUNT(*) FROM TABLES",
          "SELECT COUNT(*), SUM(ID), SUM(OCTET_LENGTH(LOG)) FROM LOG"}) {
        firebird::SqlDataSet q(db);
        q.setCommandText(sql);
        q.open();
        for (int i = 0; i < static_cast<int>(q.columns().size()); ++i)
            all += q.fieldAsText(i) + ";";
        q.close();
    }
    return all;
}

TEST_F(MainWindow, HostileFiltersRunOnlyTheirOwnSearch) {
    const std::string longText(100000, 'x');
    const std::string longQuotes(100000, '\'');
    // Each text is stored in every column it fits, so a search for it in a
    // field finds exactly its own entry; "%" and "_" are the LIKE wildcards
    // of the content filter and match every entry there. kRefused: a literal
    // longer than the server takes, answered with the server's error.
    constexpr int kRefused = -1;
    struct Case {
        QString typed;
        std::string stored;  // Windows-1252
        int user, action, table, content;
    };
    const QString unmappable = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC");  // two CJK characters
    const std::vector<Case> cases = {
        {"O'Brien", "O'Brien", 1, 1, 1, 1},
        {"'; DROP TABLE LOG; --", "'; DROP TABLE LOG; --", 1, 0, 1, 1},
        {"' OR '1'='1", "' OR '1'='1", 1, 0, 1, 1},
        {"%", "%", 1, 1, 1, 9},
        {"_", "_", 1, 1, 1, 9},
        {"C:\\DIR\\", "C:\\DIR\\", 1, 1, 1, 1},
        {QString::fromUtf8("a\xC3\xA7\xC3\xA3o \xE2\x82\xAC"), "a\xE7\xE3o \x80", 1, 1, 1, 1},
        {unmappable, "", 0, 0, 0, 0},
        {QString::fromStdString(longText), longText, kRefused, kRefused, kRefused, kRefused},
        {QString::fromStdString(longQuotes), longQuotes, kRefused, kRefused, kRefused, kRefused},
    };
    {
        auto& attachment = module_->BDLog.attachment();
        auto tr = firebird::Transaction::start(attachment);
        auto insert = firebird::ParamStatement::prepare(
            attachment, tr, "INSERT INTO LOG (USUARIO, ACAO, TABELA, LOG) VALUES (:U, :A, :T, :L)");
        for (const Case& c : cases) {
            if (c.stored.empty())
                continue;
            auto fits = [&](std::size_t n) { return c.stored.size() <= n ? c.stored : "-"; };
            insert.setString("U", fits(30));
            insert.setString("A", fits(8));
            insert.setString("T", fits(31));
            insert.setText("L", c.stored);
            insert.execute();
        }
        tr.commit();
    }
    show();
    const std::string before = tableContents(module_->BDLog);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.left(30).toStdString());
        struct Field {
            const char* name;
            std::function<void(const QString&)> set;
            int expected;
        };
        for (const Field& f :
             {Field{"user", [&](const QString& t) { ui().cbUsers->setEditText(t); }, c.user},
              Field{"action", [&](const QString& t) { ui().cbAcao->setEditText(t); }, c.action},
              Field{"table", [&](const QString& t) { ui().cbTabelas->setEditText(t); }, c.table},
              Field{"content", [&](const QString& t) { ui().edConteudo->setText(t); },
                    c.content}}) {
            SCOPED_TRACE(f.name);
            ui().BitBtn2->click();
            f.set(c.typed);
            const QString countBefore = count();
            messages_.messages.clear();
            search();
            if (f.expected == kRefused) {
                ASSERT_EQ(messages_.messages.size(), 1u);
                EXPECT_EQ(messages_.messages[0].caption, "Tracora");
                EXPECT_TRUE(messages_.messages[0].text.contains("exceeds the maximum length"))
                    << messages_.messages[0].text.toStdString();
                EXPECT_EQ(count(), countBefore);
                continue;
            }
            for (const auto& m : messages_.messages)
                ADD_FAILURE() << m.text.left(300).toStdString();
            EXPECT_EQ(count(), QStringLiteral("-> %1 registro(s) encontrado(s)").arg(f.expected));
        }
    }

    // All four at once: a statement of some 400 KB.
    ui().cbUsers->setEditText(QString::fromStdString(longQuotes));
    ui().cbAcao->setEditText(QString::fromStdString(longText));
    ui().cbTabelas->setEditText(QString::fromStdString(longQuotes));
    ui().edConteudo->setText(QString::fromStdString(longText));
    messages_.messages.clear();
    search();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Tracora");
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 0);
    EXPECT_TRUE(messages_.messages[0].text.contains("exceeds the maximum length"));
    EXPECT_EQ(tableContents(module_->BDLog), before);
}

// Records whether a modal window (the print preview) opened, and closes it.
class ModalWatcher {
  public:
    ModalWatcher() {
        QTimer::singleShot(0, [this] { look(); });
    }
    bool opened = false;
    QString title;

  private:
    void look() {
        if (QWidget* w = QApplication::activeModalWidget()) {
            opened = true;
            title = w->windowTitle();
            w->close();
        }
    }
};

TEST_F(MainWindow, PrintDoesNothingWithoutRows) {
    show();
    {
        ModalWatcher watcher;
        ui().BitBtn3->click();  // before any search
        QApplication::processEvents();
        EXPECT_FALSE(watcher.opened);
    }
    ui().cbUsers->setEditText("NINGUEM");
    search();
    ModalWatcher watcher;
    ui().BitBtn3->click();
    QApplication::processEvents();
    EXPECT_FALSE(watcher.opened);
    EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(MainWindow, PrintCopiesTheFiltersAsTypedAndStartsAtTheFirstRow) {
    insert("ANA", "MSG", "", "um");
    insert("ANA", "MSG", "", "dois");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    ui().DBGrid1->setCurrentIndex(ui().DBGrid1->model()->index(1, 0));
    ui().edData1->setText("01/03/2014");  // typed after the search
    ModalWatcher watcher;
    ui().BitBtn3->click();
    EXPECT_TRUE(watcher.opened);
    const auto& c = window_->lastReportCaptions();
    EXPECT_EQ(c.data, "Data: 01/03/2014 à   /  /    ");
    EXPECT_EQ(c.hora, "Hora:   :   à   :  ");
    EXPECT_EQ(c.usuario, "Usuário: ANA");
    EXPECT_EQ(c.acao, "Ação: ");
    EXPECT_EQ(c.tabela, "Tabela: ");
    EXPECT_EQ(c.conteudo, "Conteúdo: ");
    EXPECT_EQ(module_->cdsPesq.currentRow(), 0u);
    EXPECT_EQ(ui().DBMemo1->toPlainText(), "um");
}

TEST_F(MainWindow, ExportWritesTheLastSearchBesideTheExecutable) {
    const std::string xml = exeDir_.file("Log.xml");
    testsupport::writeFile(xml, "previous export");
    show();
    ui().BitBtn4->click();  // before any search: the old file stays
    EXPECT_EQ(testsupport::readFile(xml), "previous export");

    insert("D''AVILA", "MSG", "", "A&B <x> C:\\DIR");
    ui().cbAcao->setEditText("MSG");
    search();
    ui().BitBtn4->click();
    const std::string packet = testsupport::readFile(xml);
    EXPECT_EQ(
        packet.rfind("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\">", 0),
        0u);
    EXPECT_NE(packet.find("USUARIO=\"D&apos;AVILA\""), std::string::npos);
    EXPECT_NE(packet.find("LOG=\"A&amp;B &lt;x&gt; C:&#092;DIR\""), std::string::npos);
    EXPECT_NE(
        packet.find("<PARAMS DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\" UNIQUE_KEY=\"1\" LCID=\"0\"/>"),
        std::string::npos);

    // A second search replaces it with only its own rows.
    ui().cbAcao->setEditText("NADA");
    search();
    ui().BitBtn4->click();
    EXPECT_NE(testsupport::readFile(xml).find("<ROWDATA></ROWDATA>"), std::string::npos);
}

TEST_F(MainWindow, ExportThatCannotWriteSaysSoAndKeepsThePreviousFile) {
    insert("ANA", "MSG", "", "x");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    const std::string xml = exeDir_.file("Log.xml");
    ASSERT_EQ(::mkdir(xml.c_str(), 0755), 0);  // the name is taken by a directory
    ui().BitBtn4->click();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Tracora");
    EXPECT_EQ(messages_.messages[0].text.toStdString(),
              "Cannot create file \"" + xml + "\". Is a directory.");
    EXPECT_TRUE(std::filesystem::is_directory(xml));
    for (const auto& e : std::filesystem::directory_iterator(exeDir_.path())) {
        EXPECT_EQ(e.path().filename().string().rfind(".tmp", 0), std::string::npos)
            << "temporary file left: " << e.path();
    }
}

TEST_F(MainWindow, ExportOnAFaultyDiskSaysWhyAndLeavesNothingBehind) {
    insert("ANA", "MSG", "", "x");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    for (const auto fault : {testsupport::DiskFault::NotWritable, testsupport::DiskFault::Full,
                             testsupport::DiskFault::DirectoryInTheWay}) {
        SCOPED_TRACE(testsupport::toString(fault));
        testsupport::FaultyDirectory dir(fault, "Log.xml", "previous export");
        os::setExecutableDirectoryForTesting(dir.path());
        messages_.messages.clear();
        dir.arm();
        ui().BitBtn4->click();
        dir.disarm();
        ASSERT_EQ(messages_.messages.size(), 1u);
        EXPECT_EQ(messages_.messages[0].caption, "Tracora");
        EXPECT_EQ(messages_.messages[0].text.toStdString(),
                  "Cannot create file \"" + dir.file() + "\". " + dir.reason() + ".");
        EXPECT_TRUE(dir.previousIntact());
        EXPECT_EQ(dir.strayFiles(), std::vector<std::string>{});
    }
}

// The text of a LOG attribute of an XML packet, escapes undone.
std::string packetLogText(const std::string& packet) {
    const auto begin = packet.find(" LOG=\"");
    if (begin == std::string::npos)
        return {};
    const auto end = packet.find('"', begin + 6);
    std::string text;
    for (std::size_t i = begin + 6; i < end; ++i) {
        if (packet[i] != '&') {
            text += packet[i];
            continue;
        }
        const auto semi = packet.find(';', i);
        const std::string entity = packet.substr(i, semi - i + 1);
        if (entity.rfind("&#", 0) == 0)
            text += static_cast<char>(std::stoi(entity.substr(2)));
        else
            text += entity == "&lt;"     ? '<'
                    : entity == "&gt;"   ? '>'
                    : entity == "&amp;"  ? '&'
                    : entity == "&apos;" ? '\''
                                         : '"';
        i = semi;
    }
    return text;
}

TEST_F(MainWindow, ATenMegabyteTextIsShownPrintedAndExportedWhole) {
    std::string text;
    for (int line = 0; text.size() < 10 * 1024 * 1024; ++line) {
        text += "linha " + std::to_string(line) +
                ": a\xE7\xE3o <&> 'aspas' \"duplas\" C:\\DIR\\ \t" + std::string(line % 300, 'x') +
                "\r\n";
    }
    {
        auto& attachment = module_->BDLog.attachment();
        auto tr = firebird::Transaction::start(attachment);
        auto insert = firebird::ParamStatement::prepare(
            attachment, tr, "INSERT INTO LOG (USUARIO, ACAO, LOG) VALUES ('ANA', 'MSG', :L)");
        insert.setText("L", text);
        insert.execute();
        tr.commit();
    }
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    ASSERT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    ASSERT_EQ(module_->cdsPesq.text(0, module_->cdsPesq.fieldIndex("LOG")), text);

    // Shown: the memo holds every character (it keeps line ends as LF).
    QString shown = widgets::fromCp1252(text);
    shown.remove(u'\r');
    EXPECT_TRUE(ui().DBMemo1->toPlainText() == shown);

    // Exported.
    ui().BitBtn4->click();
    ASSERT_TRUE(messages_.messages.empty()) << messages_.messages[0].text.toStdString();
    EXPECT_TRUE(packetLogText(testsupport::readFile(exeDir_.file("Log.xml"))) == text);

    // Printed: the memo's lines on all pages, joined, are the text without its line breaks.
    const ResultSetPipeline pipeline(module_->cdsPesq);
    const report::ReportPages pages(logReportDefinition({}), pipeline);
    const report::Memo* memo = pages.layout().memo();
    ASSERT_NE(memo, nullptr);
    const double memoLeft = pages.layout().definition().page.marginLeft + memo->box.left;
    QString printed;
    for (int p = 0; p < pages.pageCount(); ++p) {
        for (const report::TextItem& item : pages.page(p).texts) {
            if (item.font == memo->font && std::fabs(item.pos.x() - memoLeft) < 1e-9)
                printed += item.text;
        }
    }
    QString expected = widgets::fromCp1252(text);
    expected.remove(u'\r').remove(u'\n').replace(u'\t', u' ');
    EXPECT_GT(pages.pageCount(), 100);
    EXPECT_EQ(printed.size(), expected.size());
    EXPECT_TRUE(printed == expected);
}

TEST_F(MainWindow, EscCancelsALongSearchAndTheNextOneWorks) {
    module_->BDLog.execute(
        "EXECUTE BLOCK AS DECLARE i INT = 0; BEGIN WHILE (i < 20000) DO BEGIN "
        "INSERT INTO LOG (USUARIO, ACAO, LOG) VALUES ('ANA', 'MSG', 'linha ' || :i); i = i + 1; "
        "END END");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    ASSERT_EQ(count(), "-> 20000 registro(s) encontrado(s)");

    // Esc arrives as the search starts: the fetch runs on its own thread, so it
    // is seen before the server has sent a row.
    QCoreApplication::postEvent(ui().DBGrid1,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    search();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, "Pesquisa cancelada pelo operador.");
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(count(), "-> 20000 registro(s) encontrado(s)");
    search();
    EXPECT_EQ(count(), "-> 20000 registro(s) encontrado(s)");
}

TEST_F(MainWindow, ALostConnectionIsMadeAgainByTheNextSearch) {
    insert("ANA", "MSG", "", "x");
    show();
    ui().cbUsers->setEditText("ANA");
    search();
    ASSERT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    // The administrator throws the viewer's attachment out.
    testsupport::TempDir unused;
    firebird::SqlConnection admin;
    admin.params().add("Database=" + module_->BDLog.params().value("Database"));
    admin.params().add("User_Name=SYSDBA");
    admin.params().add("Password=pelicanos");
    admin.open();
    admin.execute("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION");
    search();
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].caption, "Tracora");
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    messages_.messages.clear();
    search();
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_EQ(count(), "-> 1 registro(s) encontrado(s)");
    EXPECT_EQ(ui().DBGrid1->model()->rowCount(), 1);
}

}  // namespace
